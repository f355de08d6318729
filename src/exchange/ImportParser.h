// Reading points from column text files: the accepted column codes, the
// header and record counts typed in the column dialog, the two reading modes
// (one line per record split at commas, or a free stream of fields), and the
// conversion of latitudes and longitudes into the map's projected units.
// No widget is touched here.
#pragma once

#include "document/Legacy.h"

#include <QString>
#include <QStringList>
#include <cstdint>

struct Document;

namespace importer {

// The 24 four-letter codes the import reads, in the order they are compared.
const QStringList& acceptedCodes();
bool isAcceptedCode(const QString& code);

// The most records one import reads.
constexpr int MaxRecords = 31000;

// Header lines: the typed value rounded to a whole number (halves to even);
// beyond 16 bits it is an "Overflow".
int16_t headerLines(const QString& txtHead);
// Records to read: the typed last line less the header lines, rounded the
// same way, at most MaxRecords; 0 or less reads nothing.
int recordCount(const QString& txtLine, int headerLines);

// One record as read: roles the code lacks, or whose field is missing, are 0.
struct Record {
    float X = 0;
    float Y = 0;
    float Z = 0;
};

// Comma mode, one line: fields are cut at commas (two commas in a row
// separate like one; a comma as the first character ends an empty first
// field), the k-th field belongs to the k-th letter of the code, and the
// last column's field is the whole rest of the line after the comma before
// it.  Missing fields leave their roles at 0.
Record parseCommaLine(const QString& line, const QString& code);

// Reads the records of a file's text, after its header lines, in one of the
// two modes.  Line ends may be CR, LF or CR LF.
class RecordReader {
public:
    enum class Mode { Stream, Comma };
    RecordReader(const QString& text, const QString& code, Mode mode);

    // Reads and drops `lines` whole lines; throws legacy::Error ("Input past
    // end of file") when the file has fewer.
    void skipLines(int lines);
    // Nothing but blanks and line ends is left.
    bool atEnd() const;
    // Reads one record.  In stream mode a field wanted after the end of the
    // text is left at 0 and counted in `missingFields`; blank lines between
    // fields are passed over, so that they cannot shift the columns.  Values
    // are read with NumVal: a text in a number column gives 0.
    Record read(int& missingFields);

private:
    QString nextField();

    legacy::FieldReader m_reader; // header lines and comma-mode lines
    QString m_text;
    int m_pos = -1;               // the stream's place, once it started
    QString m_code;
    Mode m_mode;
};

// Limits a latitude below the pole when the map is in degrees, then converts
// a longitude X and latitude Y into the map's projected units by the
// document's ProjectionName (both from the unconverted values; the Y first).
// Linear and cylindrical equidistant maps keep the values as read; under
// "Standard Mercator" only Y is converted.  A failing projection gives 0.
void toMapUnits(Document& doc, bool degrees, float& X, float& Y);

} // namespace importer
