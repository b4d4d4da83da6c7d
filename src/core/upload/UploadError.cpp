#include "upload/UploadError.h"

UploadError::UploadError(Kind kind, QString detail)
    : m_kind(kind)
    , m_detail(std::move(detail))
{
}

UploadError UploadError::networkError(QString detail)
{
    return {Kind::networkError, std::move(detail)};
}

UploadError UploadError::serverError(QString message)
{
    return {Kind::serverError, std::move(message)};
}

UploadError UploadError::invalidImage()
{
    return {Kind::invalidImage, {}};
}

UploadError UploadError::invalidResponse()
{
    return {Kind::invalidResponse, {}};
}

QString UploadError::errorDescription() const
{
    switch (m_kind) {
    case Kind::networkError:
        return QStringLiteral("Erro de rede: ") + m_detail;
    case Kind::serverError:
        return QStringLiteral("Erro do servidor: ") + m_detail;
    case Kind::invalidImage:
        return QStringLiteral("Não foi possível processar a imagem");
    case Kind::invalidResponse:
        return QStringLiteral("Resposta inválida do servidor");
    }
    Q_UNREACHABLE();
}
