// Label file writer and reader, over the legacy quoted-field lines and the
// item reader.
#include "document/LabelFile.h"

#include "document/Legacy.h"

#include <QStringList>

using namespace legacy;

namespace {

constexpr int kMaxCount = 32767;
constexpr double kWhite = 16777215.0;
// White written as a Single with 7 digits reads back as this.
constexpr double kWhiteAsSingleText = 16777220.0;

// A double quote would close the quoted field early and cut the text there;
// two single quotes keep the look and keep old readers in step.
QString fieldText(const QString& text) {
    QString out = text;
    out.replace(u'"', QStringLiteral("''"));
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out;
}

} // namespace

QString labelFilePath(const QString& DataFileName) {
    return DataFileName.left(DataFileName.size() - 4) + QStringLiteral(".lab");
}

QByteArray writeLabelFile(const Document& doc) {
    QStringList lines;
    for (int i = 1; i <= doc.LabelCount; ++i) {
        const MapLabel& l = doc.MapLabels.at(size_t(i));
        lines << QuotedFieldLine()
                     .text(fieldText(l.Text))
                     .number(l.X)
                     .number(l.Y)
                     .boolean(l.FontBold)
                     .integer(CLng(l.Color))
                     .boolean(l.FontItalic)
                     .text(fieldText(l.FontName))
                     .integer(l.FontSize)
                     .boolean(l.FontStrikethru)
                     .boolean(l.FontUnderline)
                     .str();
    }
    return joinLinesCrLf(lines);
}

LabelReadResult readLabelFile(const QByteArray& bytes, int existingCount) {
    LabelReadResult result;
    FieldReader r(decodeText(bytes));
    try {
        while (!r.atEnd()) {
            if (existingCount + int(result.labels.size()) >= kMaxCount) raise(ErrorCode::Overflow);
            MapLabel l;
            l.Text = r.readText();
            l.X = ToSingle(r.readNumber());
            l.Y = ToSingle(r.readNumber());
            l.FontBold = r.readBoolean();
            double color = r.readNumber();
            if (color > kWhite && color <= kWhiteAsSingleText) color = kWhite;
            l.Color = ToSingle(color);
            l.FontItalic = r.readBoolean();
            l.FontName = r.readText();
            l.FontSize = CInt(r.readNumber());
            l.FontStrikethru = r.readBoolean();
            l.FontUnderline = r.readBoolean();
            result.labels.push_back(l);
        }
    } catch (const Error& e) {
        result.failed = true;
        result.errorDescription = e.description();
    }
    return result;
}

void appendLabels(Document& doc, const std::vector<MapLabel>& labels) {
    if (labels.empty()) return;
    doc.MapLabels.resize(size_t(doc.LabelCount) + 1);
    doc.MapLabels.insert(doc.MapLabels.end(), labels.begin(), labels.end());
    doc.LabelCount += int(labels.size());
}
