#pragma once
#include <QString>
#include <stdexcept>

// An error whose message is meant for the user: the handler that started the
// operation catches it and shows the message, and the program goes on.
class LumacetError : public std::runtime_error {
public:
    explicit LumacetError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
