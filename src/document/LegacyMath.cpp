// Checked arithmetic and the old runtime's error texts.
#include "document/Legacy.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace legacy {

QString errorText(ErrorCode code) {
    switch (code) {
    case ErrorCode::InvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case ErrorCode::Overflow: return QStringLiteral("Overflow");
    case ErrorCode::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case ErrorCode::DivisionByZero: return QStringLiteral("Division by zero");
    case ErrorCode::TypeMismatch: return QStringLiteral("Type mismatch");
    case ErrorCode::FileNotFound: return QStringLiteral("File not found");
    case ErrorCode::InputPastEnd: return QStringLiteral("Input past end of file");
    case ErrorCode::PathNotFound: return QStringLiteral("Path not found");
    case ErrorCode::Custom: break;
    }
    return QStringLiteral("Application-defined or object-defined error");
}

Error::Error(ErrorCode code) : Error(code, errorText(code)) {}
Error::Error(ErrorCode code, const QString& description)
    : std::runtime_error(description.toStdString()), m_code(code), m_description(description) {}

void raise(ErrorCode code) { throw Error(code); }
void raise(const QString& description) { throw Error(ErrorCode::Custom, description); }

void raiseAt(ErrorCode code, int line, const QString& item) {
    throw Error(code, errorText(code) + QStringLiteral(" in line %1: \"%2\"").arg(line).arg(item));
}

double Checked(double x) {
    if (!std::isfinite(x)) raise(ErrorCode::Overflow);
    return x;
}

double Div(double a, double b) {
    if (b == 0.0) raise(a == 0.0 ? ErrorCode::Overflow : ErrorCode::DivisionByZero);
    return Checked(a / b);
}

double Sqr(double x) {
    if (x < 0.0) raise(ErrorCode::InvalidCall);
    return std::sqrt(Checked(x));
}

double Log(double x) {
    if (!(x > 0.0)) raise(ErrorCode::InvalidCall);
    return std::log(Checked(x));
}

double Exp(double x) { return Checked(std::exp(Checked(x))); }

double Atn(double x) { return std::atan(Checked(x)); }

float ToSingle(double x) {
    Checked(x);
    if (std::fabs(x) > double(FLT_MAX)) raise(ErrorCode::Overflow);
    return static_cast<float>(x);
}

int16_t CInt(double x) {
    const double r = std::nearbyint(Checked(x));
    if (r < -32768.0 || r > 32767.0) raise(ErrorCode::Overflow);
    return static_cast<int16_t>(r);
}

int32_t CLng(double x) {
    const double r = std::nearbyint(Checked(x));
    if (r < -2147483648.0 || r > 2147483647.0) raise(ErrorCode::Overflow);
    return static_cast<int32_t>(r);
}

int16_t ToInteger(long long x) {
    if (x < -32768 || x > 32767) raise(ErrorCode::Overflow);
    return static_cast<int16_t>(x);
}

double Int(double x) { return std::floor(Checked(x)); }
double Fix(double x) { return std::trunc(Checked(x)); }
int Sgn(double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }

} // namespace legacy
