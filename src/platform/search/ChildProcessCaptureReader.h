#pragma once

#include "search/CaptureReader.h"

// Reads captures in a child process, `program --read-captures`, one JSON line
// asked and one answered per file. The child holds the recognition engine:
// when the calling thread ends, its child is ended, and the engine's memory,
// its libraries' pages included, leaves with it. A fault on a hostile file
// ends only the child; that file counts as unreadable and the next file gets
// a new child.
class ChildProcessCaptureReader : public CaptureReader
{
public:
    explicit ChildProcessCaptureReader(QString program);

    std::optional<CaptureContent> read(const QString &path) const override;

    // Children running for any thread of this process.
    static int runningChildren();

    // The child's side: answers requests from standard input on standard
    // output with reader until its input ends. Returns the exit status.
    static int serve(const CaptureReader &reader);

private:
    QString m_program;
};
