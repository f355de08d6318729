// Up and down arrows that show a caption of the program's choosing instead
// of their value: the contact bar's stepping spinner rests at 0 and shows the
// contact being drawn.
#pragma once

#include <QLineEdit>
#include <QSpinBox>

class StepSpinner : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
    void setCaption(const QString& caption) {
        m_caption = caption;
        lineEdit()->setText(caption);
    }
    QString caption() const { return m_caption; }

protected:
    QString textFromValue(int) const override { return m_caption; }
    int valueFromText(const QString&) const override { return value(); }
    // Only the arrows step; nothing can be typed over the caption.
    QValidator::State validate(QString& text, int&) const override {
        return text == m_caption ? QValidator::Acceptable : QValidator::Invalid;
    }

private:
    QString m_caption;
};
