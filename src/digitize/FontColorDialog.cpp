#include "digitize/FontColorDialog.h"

#include "digitize/LabelLayout.h"
#include "document/Legacy.h"
#include "platform/ColorNumber.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QIcon swatchIcon(long color) {
    QPixmap pm(16, 12);
    pm.fill(colorFromNumber(color));
    return QIcon(pm);
}
} // namespace

const std::vector<std::pair<long, QString>>& FontColorDialog::standardColors() {
    static const std::vector<std::pair<long, QString>> colors = {
        {0x000000, QStringLiteral("Black")},  {0x000080, QStringLiteral("Maroon")},
        {0x008000, QStringLiteral("Green")},  {0x008080, QStringLiteral("Olive")},
        {0x800000, QStringLiteral("Navy")},   {0x800080, QStringLiteral("Purple")},
        {0x808000, QStringLiteral("Teal")},   {0x808080, QStringLiteral("Gray")},
        {0xC0C0C0, QStringLiteral("Silver")}, {0x0000FF, QStringLiteral("Red")},
        {0x00FF00, QStringLiteral("Lime")},   {0x00FFFF, QStringLiteral("Yellow")},
        {0xFF0000, QStringLiteral("Blue")},   {0xFF00FF, QStringLiteral("Fuchsia")},
        {0xFFFF00, QStringLiteral("Aqua")},   {0xFFFFFF, QStringLiteral("White")},
    };
    return colors;
}

FontColorDialog::FontColorDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FontColorDialog"));
    setWindowTitle(QStringLiteral("Font"));

    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("fontName"));
    m_name->setEditable(true);
    m_name->addItems(QFontDatabase::families());
    m_name->setInsertPolicy(QComboBox::NoInsert);

    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("fontSize"));
    m_size->setEditable(true);
    for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}) m_size->addItem(QString::number(s));
    m_size->setInsertPolicy(QComboBox::NoInsert);

    m_bold = new QCheckBox(QStringLiteral("&Bold"), this);
    m_italic = new QCheckBox(QStringLiteral("&Italic"), this);
    m_strike = new QCheckBox(QStringLiteral("Stri&keout"), this);
    m_underline = new QCheckBox(QStringLiteral("&Underline"), this);
    m_bold->setObjectName(QStringLiteral("bold"));
    m_italic->setObjectName(QStringLiteral("italic"));
    m_strike->setObjectName(QStringLiteral("strikeout"));
    m_underline->setObjectName(QStringLiteral("underline"));

    m_color = new QComboBox(this);
    m_color->setObjectName(QStringLiteral("color"));
    for (const auto& [number, name] : standardColors()) m_color->addItem(swatchIcon(number), name, QVariant::fromValue(qlonglong(number)));

    m_sample = new QLabel(QStringLiteral("AaBbYyZz"), this);
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumSize(220, 60);
    m_sample->setFrameShape(QFrame::StyledPanel);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Font:"), m_name);
    form->addRow(QStringLiteral("&Size:"), m_size);
    auto* style = new QHBoxLayout;
    style->addWidget(m_bold);
    style->addWidget(m_italic);
    form->addRow(QStringLiteral("Font st&yle:"), style);

    auto* effects = new QGroupBox(QStringLiteral("Effects"), this);
    auto* effectsLayout = new QFormLayout(effects);
    auto* lines = new QHBoxLayout;
    lines->addWidget(m_strike);
    lines->addWidget(m_underline);
    effectsLayout->addRow(lines);
    effectsLayout->addRow(QStringLiteral("&Color:"), m_color);

    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(m_sample);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(effects);
    top->addWidget(sampleBox);
    top->addWidget(m_buttons);

    for (QCheckBox* b : {m_bold, m_italic, m_strike, m_underline})
        connect(b, &QCheckBox::toggled, this, &FontColorDialog::updateSample);
    connect(m_name, &QComboBox::currentTextChanged, this, &FontColorDialog::updateSample);
    connect(m_size, &QComboBox::currentTextChanged, this, &FontColorDialog::updateSample);
    connect(m_color, &QComboBox::currentIndexChanged, this, &FontColorDialog::updateSample);
    updateSample();
}

double FontColorDialog::typedSize() const {
    double v = 0;
    if (!legacy::parseNumber(m_size->currentText().trimmed(), v)) return 0;
    // The range the old font dialog accepted.
    return v >= 1 && v <= 1638 ? v : 0;
}

void FontColorDialog::selectColor(long color) {
    int idx = m_color->findData(QVariant::fromValue(qlonglong(color)));
    if (idx < 0) {
        // A colour outside the sixteen is kept as a custom entry.
        const int custom = m_color->findText(QStringLiteral("Custom"));
        if (custom >= 0) m_color->removeItem(custom);
        m_color->addItem(swatchIcon(color), QStringLiteral("Custom"), QVariant::fromValue(qlonglong(color)));
        idx = m_color->count() - 1;
    }
    m_color->setCurrentIndex(idx);
}

long FontColorDialog::currentColor() const { return long(m_color->currentData().toLongLong()); }

void FontColorDialog::setChoice(const dlg::CommonDialog& cd) {
    if (!cd.DialogTitle.isEmpty()) setWindowTitle(cd.DialogTitle);
    m_name->setCurrentText(cd.FontName.isEmpty() ? QApplication::font().family() : cd.FontName);
    m_size->setCurrentText(legacy::GeneralText(static_cast<float>(cd.FontSize > 0 ? cd.FontSize : 8.25)));
    m_bold->setChecked(cd.FontBold);
    m_italic->setChecked(cd.FontItalic);
    m_strike->setChecked(cd.FontStrikethru);
    m_underline->setChecked(cd.FontUnderline);
    selectColor(cd.Color);
    updateSample();
}

void FontColorDialog::choice(dlg::CommonDialog& cd) const {
    const QString name = m_name->currentText().trimmed();
    if (!name.isEmpty()) cd.FontName = name;
    if (const double s = typedSize(); s > 0) cd.FontSize = s;
    cd.FontBold = m_bold->isChecked();
    cd.FontItalic = m_italic->isChecked();
    cd.FontStrikethru = m_strike->isChecked();
    cd.FontUnderline = m_underline->isChecked();
    cd.Color = currentColor();
}

void FontColorDialog::updateSample() {
    const double size = typedSize();
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(size > 0 && !m_name->currentText().trimmed().isEmpty());
    m_sample->setFont(labelFont(m_name->currentText().trimmed(), size > 0 ? size : 12, m_bold->isChecked(),
                                m_italic->isChecked(), m_strike->isChecked(), m_underline->isChecked()));
    QPalette pal = m_sample->palette();
    pal.setColor(QPalette::WindowText, colorFromNumber(currentColor()));
    m_sample->setPalette(pal);
}

bool runFontColorDialog(QWidget* parent, dlg::CommonDialog& cd) {
    FontColorDialog d(parent);
    d.setChoice(cd);
    if (d.exec() != QDialog::Accepted) return false;
    d.choice(cd);
    return true;
}
