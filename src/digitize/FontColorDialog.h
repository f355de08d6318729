// The font dialog of the program: font name, size, bold, italic, the effects
// strike-through and underline, and the text colour, which Qt's own font
// dialog does not offer.  It reads and fills the common dialog's font fields.
#pragma once

#include "platform/Dialogs.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;

class FontColorDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontColorDialog(QWidget* parent = nullptr);

    // Fills the controls from the common dialog's font fields and colour.
    void setChoice(const dlg::CommonDialog& cd);
    // Writes the controls back; the name stays as given when the box is
    // left empty, and the size as given when its text is not a size.
    void choice(dlg::CommonDialog& cd) const;

    // The sixteen colours offered, as colour numbers, and their names.
    static const std::vector<std::pair<long, QString>>& standardColors();

    // The typed size, or 0 when the text is not a usable point size.
    double typedSize() const;

    QComboBox* fontName() const { return m_name; }
    QComboBox* fontSize() const { return m_size; }
    QCheckBox* bold() const { return m_bold; }
    QCheckBox* italic() const { return m_italic; }
    QCheckBox* strike() const { return m_strike; }
    QCheckBox* underline() const { return m_underline; }
    QComboBox* color() const { return m_color; }

private:
    void selectColor(long color);
    long currentColor() const;
    void updateSample();

    QComboBox* m_name = nullptr;
    QComboBox* m_size = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_strike = nullptr;
    QCheckBox* m_underline = nullptr;
    QComboBox* m_color = nullptr;
    QLabel* m_sample = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

// Shows the dialog filled from `cd`; on OK writes the choice into `cd` and
// returns true, on Cancel leaves `cd` alone and returns false.
bool runFontColorDialog(QWidget* parent, dlg::CommonDialog& cd);
