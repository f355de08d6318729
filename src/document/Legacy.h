// Legacy number and text rules that every file format and prompt of the
// program relies on, so that files written by earlier versions still open and
// files written here open there.  Nothing here touches a widget or the user's
// locale: numbers are formatted and parsed in the C locale only.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <stdexcept>
#include <variant>
#include <vector>

namespace legacy {

// ---------------------------------------------------------------------------
// Errors the old runtime raised.  Arithmetic that failed there must fail here
// too, with the same description, instead of carrying inf or NaN on.
enum class ErrorCode : int {
    InvalidCall = 5,        // "Invalid procedure call or argument"
    Overflow = 6,           // "Overflow"
    SubscriptOutOfRange = 9,// "Subscript out of range"
    DivisionByZero = 11,    // "Division by zero"
    TypeMismatch = 13,      // "Type mismatch"
    FileNotFound = 53,      // "File not found"
    InputPastEnd = 62,      // "Input past end of file"
    PathNotFound = 76,      // "Path not found"
    Custom = 1000,          // any other description
};

QString errorText(ErrorCode code);

// The error a command handler catches and reports in its message box.
class Error : public std::runtime_error {
public:
    explicit Error(ErrorCode code);
    Error(ErrorCode code, const QString& description);
    ErrorCode code() const { return m_code; }
    const QString& description() const { return m_description; }

private:
    ErrorCode m_code;
    QString m_description;
};

[[noreturn]] void raise(ErrorCode code);
[[noreturn]] void raise(const QString& description);
// The error of an item read from a file, with where it stands:
// "Type mismatch in line 12: "abc"".
[[noreturn]] void raiseAt(ErrorCode code, int line, const QString& item);

// ---------------------------------------------------------------------------
// Checked arithmetic.  Every result is finite or an Error is thrown.
double Div(double a, double b);       // b == 0: "Division by zero" (0/0: "Overflow")
double Sqr(double x);                 // x < 0: "Invalid procedure call or argument"
double Log(double x);                 // x <= 0: "Invalid procedure call or argument"
double Exp(double x);                 // result beyond double: "Overflow"
double Atn(double x);                 // plain atan; NaN in raises "Overflow"
double Checked(double x);             // NaN or inf: "Overflow"
float ToSingle(double x);             // |x| beyond float: "Overflow"
int16_t CInt(double x);               // halves to even; beyond 16 bits: "Overflow"
int32_t CLng(double x);               // halves to even; beyond 32 bits: "Overflow"
int16_t ToInteger(long long x);       // beyond 16 bits: "Overflow"
double Int(double x);                 // floor
double Fix(double x);                 // truncation toward zero
int Sgn(double x);

// ---------------------------------------------------------------------------
// Numbers from text.
// Lenient reader for every typed, stored or read number: "" and "False" give
// 0, "True" 1, otherwise the value of the longest leading part that converts
// ("&H" hex is a signed 32-bit value, optional trailing "&").
float NumVal(QStringView text);
// Strict conversion of a whole text (blanks allowed around), as the old
// runtime's Val-of-a-complete-number; false when the text is not a number.
bool parseNumber(const QString& text, double& out);

// ---------------------------------------------------------------------------
// Numbers to text.
// Format(value, pattern) for the digit patterns "0", "00", "0.0", "0.00",
// "0.000", "0.0000", "0.00000", "0000", "#", "#.#", "#0.00" and the like:
// the decimal value is rounded halves away from zero.  The decimal value is
// the double to 15 significant digits, as the old runtime showed it (1.005
// gives "1.01" under "0.00"); a negative value that rounds to zero keeps its
// sign ("-0.0").  An empty pattern gives the general form of the value.
// Every text function here throws "Overflow" for inf or NaN.
QString Format(double value, const QString& pattern);
// General text of a Single: at most 7 significant digits, no leading "0"
// before the point, exponent form "1.234568E+07" where 7 digits cannot show
// it.  Text boxes, captions and text items show the general form with the
// "0" before the point instead: use GeneralText there.
QString SingleText(float value);
// General text of a Double: at most 15 significant digits, same rules.
QString DoubleText(double value);
// The general form of a Single as it appears in text boxes, captions and
// text items ("12.5", "3", "0.5", "-0.25", "1E-05"): SingleText with a "0"
// before the point when the magnitude is below 1.
QString GeneralText(float value);
// Shortest text that reads back as the same float (up to 9 digits), in the
// same style as SingleText ("0" dropped before the point, exponent form with
// two exponent digits).  Used for number items in files.
QString NumberItem(float value);
// The same digits as NumberItem, always in plain decimal form (".0000123",
// "123456790"): for readers that take no exponent.
QString DecimalItem(float value);
// Text of a whole number, as written for Integer and Long items.
QString IntegerText(long long value);

// ---------------------------------------------------------------------------
// Lines made of print zones (14 columns each).  Number items get a sign
// column and a trailing blank; text items are written as held; every item
// after the first starts at the next zone boundary past the previous item,
// never glued to it.
class PrintZoneLine {
public:
    PrintZoneLine& text(const QString& item);
    PrintZoneLine& number(float value);        // Single item
    PrintZoneLine& integer(long long value);   // Integer or Long item
    QString str() const { return m_line; }

private:
    void startItem();
    QString m_line;
    bool m_any = false;
};

// Lines of comma-separated fields: texts in double quotes, booleans as
// #TRUE#/#FALSE#, numbers bare.
class QuotedFieldLine {
public:
    QuotedFieldLine& text(const QString& item);
    QuotedFieldLine& number(float value);
    QuotedFieldLine& decimal(float value);     // a number never in exponent form
    QuotedFieldLine& integer(long long value);
    QuotedFieldLine& boolean(bool value);
    QString str() const { return m_line; }

private:
    void sep();
    QString m_line;
    bool m_any = false;
};

// Reads a file item by item, as the old runtime's Input # did.  A text item
// ends at a comma or the line end (a quoted one at its closing quote); a
// number item ends at a blank, comma or line end; an empty line is one empty
// item.  Reading past the end throws "Input past end of file".  CR, LF and
// CR LF are all accepted as line ends.
class FieldReader {
public:
    explicit FieldReader(const QString& text);
    bool atEnd() const;                 // nothing but line ends/blanks left
    QString readText();                 // one text item
    double readNumber();                // one number item (lenient, as NumVal but double);
                                        // passes over blanks and line ends before it
    bool readBoolean();                 // #TRUE#/#FALSE# or a number (non-zero = True)
    QString readLine();                 // rest of the current line, as Line Input #
    int position() const { return m_pos; }
    // From here on a number item that is not a whole number text (an empty
    // item included) throws "Type mismatch" naming its line and text, where
    // the lenient reading would take it as 0 or as its number prefix.
    void setStrictNumbers(bool strict) { m_strict = strict; }
    // The 1-based line of the reading position.
    int lineNumber() const;

private:
    void skipBlanks();
    void endItem();
    QString m_text;
    int m_pos = 0;
    bool m_strict = false;
};

// ---------------------------------------------------------------------------
// Text files.  A file's text is written in the 8-bit code page (Windows-1252)
// while every character of it has a byte there, so that such a file keeps the
// bytes earlier versions wrote and read; a file holding any other character
// is written whole in UTF-8, without a byte-order mark (which older readers
// would take into the first item).  A reader takes a file that is valid UTF-8
// and holds at least one multi-byte sequence as UTF-8 (a leading byte-order
// mark dropped), any other as the code page.  The choice is the whole file's,
// never a line's: encode and decode a file's whole text at once.
QByteArray encodeText(QStringView text);
QString decodeText(QByteArrayView bytes);
// Whether `bytes` are valid UTF-8 holding at least one multi-byte sequence.
bool isUtf8Text(QByteArrayView bytes);
// Code-page bytes to text: 0x80-0x9F are the code page's characters (0x92 is
// U+2019, 0x96 U+2013); the five it leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) keep their own code, as every byte from 0xA0 does.
QString decodeCodePage(QByteArrayView bytes);
// Joins lines with CR LF after each one and encodes them as one file.
QByteArray joinLinesCrLf(const QStringList& lines);
// Splits on CR LF, CR or LF.  A final line end does not make an empty line.
QStringList splitLines(const QString& text);
// One file of a set written together.
struct FileWrite {
    QString path;
    QByteArray bytes;
};
// Writes every file of the set to a temporary beside it and renames them
// into place only once all of them are complete, so that a failure leaves
// every old file whole and the set never mixes two saves.  Throws Error with
// the reason on failure.
void writeFilesAtomically(const std::vector<FileWrite>& files);
// The same for one file.
void writeFileAtomically(const QString& path, const QByteArray& bytes);
// The same for one file, for callers with messages of their own: returns ""
// once the file is in place, otherwise the system's reason ("No space left on
// device").
QString replaceFile(const QString& path, const QByteArray& bytes);
// Reads the whole file; throws Error("File not found") when it is missing.
QByteArray readFileBytes(const QString& path);

} // namespace legacy
