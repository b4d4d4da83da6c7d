#pragma once

#include "search/CaptureReader.h"

class CodeDetector;
class TextRecognizer;

// Reads a capture in this process: the file decoded as Copy Text decodes
// it, its text from the recogniser, its codes from the detector.
class RecognizerCaptureReader : public CaptureReader
{
public:
    // codeDetector: none keeps no code payloads.
    explicit RecognizerCaptureReader(const TextRecognizer &recognizer, const CodeDetector *codeDetector = nullptr);

    std::optional<CaptureContent> read(const QString &path) const override;

private:
    const TextRecognizer &m_recognizer;
    const CodeDetector *m_codeDetector;
};
