#pragma once
// The one error type the system raises to its callers: a number, the source that raised
// it and a description, as a scripting runtime would report them.

#include <QString>
#include <cstdint>
#include <stdexcept>

namespace platform {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(uint32_t number, QString source, QString description)
        : std::runtime_error(description.toStdString()), m_number(number), m_source(std::move(source)),
          m_description(std::move(description)) {}

    uint32_t Number() const { return m_number; }
    const QString& Source() const { return m_source; }
    const QString& Description() const { return m_description; }

private:
    uint32_t m_number;
    QString m_source;
    QString m_description;
};

// Numbers of the runtime's own errors that the documented operations raise.
inline constexpr uint32_t kErrInvalidArgument = 5; // "Invalid procedure call or argument"
inline constexpr uint32_t kErrOverflow = 6;        // "Overflow"
inline constexpr uint32_t kErrOutOfRange = 9;      // "Subscript out of range"
inline constexpr uint32_t kErrDivisionByZero = 11; // "Division by zero"

[[noreturn]] inline void raiseOverflow(const QString& source) {
    throw RuntimeError(kErrOverflow, source, QStringLiteral("Overflow"));
}
[[noreturn]] inline void raiseOutOfRange(const QString& source) {
    throw RuntimeError(kErrOutOfRange, source, QStringLiteral("Subscript out of range"));
}
[[noreturn]] inline void raiseInvalidArgument(const QString& source) {
    throw RuntimeError(kErrInvalidArgument, source, QStringLiteral("Invalid procedure call or argument"));
}
[[noreturn]] inline void raiseDivisionByZero(const QString& source) {
    throw RuntimeError(kErrDivisionByZero, source, QStringLiteral("Division by zero"));
}

} // namespace platform
