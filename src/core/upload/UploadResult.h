#pragma once

#include <QString>

#include <optional>

// A finished upload: the public link and, when the service sent one, the
// hash that deletes the upload.
struct UploadResult {
    QString link;
    std::optional<QString> deletehash;

    bool operator==(const UploadResult &) const = default;
};
