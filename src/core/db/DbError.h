#pragma once

#include <QString>

#include <exception>

// The one error type of every database operation. It carries the driver's own text, which the
// operations show to the user as the error's description.
class DbError : public std::exception {
public:
    explicit DbError(QString description)
        : m_description(std::move(description))
        , m_utf8(m_description.toUtf8()) {}

    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

// An add refused because the row it would add is there already: another workstation added it
// between the look-up and the write.
class AddedMeanwhile : public DbError {
public:
    AddedMeanwhile()
        : DbError(QStringLiteral("Another workstation linked this item meanwhile; look at the "
                                 "list and save again.")) {}
};

// A failure that stops the program before its screen is up (the data folder of the embedded
// database cannot be written, say). Main reports it in one message box and ends.
class StartupError : public DbError {
public:
    using DbError::DbError;
};
