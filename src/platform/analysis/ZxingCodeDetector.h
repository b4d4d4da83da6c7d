#pragma once

#include "viewer/CodeDetector.h"

// QR, Code 128, EAN-13 and PDF417 codes read with zxing-cpp. Keeps no state
// between calls, so any number of threads may scan at once.
class ZxingCodeDetector : public CodeDetector
{
public:
    QList<DetectedCode> detect(const QImage &image) const override;
};
