#include "exchange/ConverterExchange.h"

#include "document/Legacy.h"

using namespace legacy;

namespace converter {

namespace {

// Formats a text that holds a number with the pattern; other texts pass
// unchanged.
QString reformat(const QString& text, const QString& pattern) {
    double v = 0;
    if (!parseNumber(text, v)) return text;
    return Format(v, pattern);
}

} // namespace

QByteArray inputFileText(const Document& doc) {
    QStringList lines;
    auto add = [&](const std::vector<DataPoint>& points, int count) {
        for (int i = 1; i <= count && size_t(i) < points.size(); ++i) {
            const DataPoint& p = points[size_t(i)];
            // The converter reads plain decimals: no value goes in exponent form.
            lines << QuotedFieldLine().integer(p.Number).decimal(p.X).decimal(p.Y).decimal(p.Z).str();
        }
    };
    add(doc.DatumPoints, doc.DatCount);
    add(doc.ContourPoints, doc.ConCount);
    return joinLinesCrLf(lines);
}

Records readOutput(const QByteArray& bytes, int count) {
    FieldReader r(decodeText(bytes));
    for (int k = 0; k < 8; ++k) r.readText();
    Records rec;
    for (int i = 1; i <= count; ++i) {
        if (i > MaxRecords) raise(ErrorCode::SubscriptOutOfRange);
        r.readText();
        rec.first << reformat(r.readText().trimmed(), QStringLiteral("0.00000"));
        rec.second << reformat(r.readText().trimmed(), QStringLiteral("0.00000"));
        rec.value << reformat(r.readText().trimmed(), QStringLiteral("0.000000"));
    }
    return rec;
}

QByteArray resultFileText(const QString& title, const Records& records, bool latLong) {
    const QString coord = latLong ? QStringLiteral("0.0000") : QStringLiteral("0.0");
    const QString value = QStringLiteral("0.0");
    QStringList lines{title, QString()};
    lines << PrintZoneLine().text(QStringLiteral("      X")).text(QStringLiteral("     Y")).text(QStringLiteral("     Z")).str();
    lines << QString(38, u'=') << QString();
    for (qsizetype i = 0; i < records.first.size(); ++i)
        lines << PrintZoneLine()
                     .text(reformat(records.first[i], coord))
                     .text(reformat(records.second[i], coord))
                     .text(reformat(records.value[i], value))
                     .str();
    return joinLinesCrLf(lines);
}

} // namespace converter
