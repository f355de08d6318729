// Reading points from column text files: the accepted column codes, the
// header and record counts typed in the column dialog, the two reading modes
// (one line per record split at commas, or a free stream of fields), and the
// conversion of latitudes and longitudes into the map's projected units.
// No widget is touched here.
#pragma once

#include "document/Legacy.h"
#include "exchange/TextLines.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

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
// Lines to read after the header lines: the typed last line less the header
// lines, rounded the same way; 0 or less reads nothing.  Of them, at most
// MaxRecords records are read.
int lineCount(const QString& txtLine, int headerLines);

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
// it, of which the text up to the next comma is read.  A number in double
// quotes (as spreadsheets write it) reads as that number.  Missing or empty
// fields leave their roles at 0; a number column holding any other text
// that is not a number, or a number beyond a single, throws legacy::Error
// naming `lineNumber`, as the stream mode does.
Record parseCommaLine(const QString& line, const QString& code, int lineNumber);

// Reads the records of a file's lines, after its header lines, in one of the
// two modes.  Lines of nothing but blanks are no records in either mode.
class RecordReader {
public:
    enum class Mode { Stream, Comma };
    // `lines` must outlive the reader.
    RecordReader(const TextLines& lines, const QString& code, Mode mode);

    // Reads and drops `lines` whole lines; throws legacy::Error ("Input past
    // end of file") when the file has fewer.
    void skipLines(int lines);
    // How many of the next `lines` lines hold a record: the lines that are
    // not blank, and the lines wanted past the end of the file, whose
    // records the reading will find missing.
    int dataLinesAhead(int lines) const;
    // Nothing but blanks and line ends is left.
    bool atEnd();
    // Reads one record.  Comma mode: the next line that is not blank.
    // Stream mode: the next fields, wherever the lines break; a field wanted
    // after the end of the text is left at 0 and counted in `missingFields`.
    // In both modes a field of a number column must be a number (an empty
    // one is 0): any other text throws legacy::Error naming its line.
    Record read(int& missingFields);
    // The lines read so far, header lines included.
    int linesRead() const { return m_line; }

private:
    // Moves to the next text that is not a blank, loading lines as needed;
    // false at the end of the file.
    bool toContent();
    QString nextField();

    const TextLines& m_lines;
    QString m_code;
    Mode m_mode;
    int m_line = 0;      // lines taken so far; m_text is the last of them
    QString m_text;      // stream mode: the line being read
    qsizetype m_pos = 0; // stream mode: the place in it
};

// Converts a longitude X and latitude Y into the map's projected units by the
// document's ProjectionName (both from the unconverted values; the Y first),
// after limiting a latitude of 90 below the pole when the map is in degrees
// (placement::mapInDegrees).
// Linear and cylindrical equidistant maps keep the values as read; under
// "Standard Mercator" only Y is converted.  A latitude beyond 90 or a
// longitude beyond 360 degrees (on a map in degrees), and a position the
// projection fails on or folds onto another place, are refused: the text
// says why and X, Y are left as read.
std::optional<QString> toMapUnits(Document& doc, float& X, float& Y);

} // namespace importer
