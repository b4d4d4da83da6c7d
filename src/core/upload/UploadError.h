#pragma once

#include <QString>

// Why an upload failed. The descriptions are shown to the user as they are.
class UploadError
{
public:
    enum class Kind { networkError, serverError, invalidImage, invalidResponse };

    // detail: the underlying error's description.
    static UploadError networkError(QString detail);
    // message: the server's body text, or "Status code: N".
    static UploadError serverError(QString message);
    static UploadError invalidImage();
    static UploadError invalidResponse();

    Kind kind() const { return m_kind; }
    // The network error's description or the server's message; empty otherwise.
    const QString &detail() const { return m_detail; }
    QString errorDescription() const;

    bool operator==(const UploadError &) const = default;

private:
    UploadError(Kind kind, QString detail);

    Kind m_kind;
    QString m_detail;
};
