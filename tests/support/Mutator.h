#pragma once

#include <QByteArray>
#include <QList>

#include <initializer_list>
#include <random>

namespace TestSupport {

// Bounded random edits of valid inputs for the decoders' fuzz tests. A fixed
// seed: every run sees the same inputs.
class Mutator
{
public:
    explicit Mutator(quint32 seed) : m_random(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    template <typename T>
    T pick(std::initializer_list<T> values) { return values.begin()[below(int(values.size()))]; }

    // Tokens of JSON, the default for bytes().
    static const QList<QByteArray> &jsonTokens()
    {
        static const QList<QByteArray> tokens{"{", "}", "[", "]", ",", ":", "\"", "\\", "null", "true", "1e999",
                                              "-0", "3.5", "\"\\u0000\"", "\xc3", "\xff", "\"data\"", "\"link\""};
        return tokens;
    }

    // One to four byte-level edits: flips, inserted tokens, deletions, cuts, repeats.
    QByteArray bytes(QByteArray data, const QList<QByteArray> &tokens = jsonTokens())
    {
        for (int edits = 1 + below(4); edits > 0; --edits) {
            const int at = data.isEmpty() ? 0 : below(int(data.size()));
            switch (below(5)) {
            case 0:
                if (!data.isEmpty())
                    data[at] = char(data[at] ^ (1 << below(8)));
                break;
            case 1: data.insert(at, tokens[below(int(tokens.size()))]); break;
            case 2: data.remove(at, 1 + below(8)); break;
            case 3: data.truncate(at); break;
            default: data.insert(at, data.mid(at, below(16))); break;
            }
        }
        return data;
    }

private:
    std::mt19937 m_random;
};

}  // namespace TestSupport
