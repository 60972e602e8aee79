#pragma once
// The few error kinds that end an operation and reach the window's event handlers.

#include <QString>
#include <stdexcept>

class SkizzarError : public std::runtime_error
{
public:
    explicit SkizzarError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    // The text for the message box; names the kind of error first.
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A floating-point result that is not a finite 32-bit float, or an integer out of range.
class OverflowError : public SkizzarError
{
public:
    OverflowError() : SkizzarError(QStringLiteral("Überlauf")) {}
};

// A position outside 1 … count of a collection.
class IndexError : public SkizzarError
{
public:
    explicit IndexError(long long position)
        : SkizzarError(QStringLiteral("Index außerhalb des gültigen Bereichs (%1)").arg(position)) {}
};

// A file that cannot be opened, read or written.
class FileError : public SkizzarError
{
public:
    FileError(const QString &fileName, const QString &reason)
        : SkizzarError(QStringLiteral("Dateifehler: „%1“: %2").arg(fileName, reason)),
          m_fileName(fileName), m_reason(reason) {}

    const QString &fileName() const { return m_fileName; }
    const QString &reason() const { return m_reason; }

private:
    QString m_fileName;
    QString m_reason;
};
