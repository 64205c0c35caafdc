#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A pattern with counters that gives one text per field ("Wypełnij serią…"):
//
//   text          written as it stands; "{{" and "}}" are the braces
//                 themselves, "@" a line break (as in the descriptions file)
//   {N}           a number from N, step 1, never wrapping: X1:{1} gives
//                 X1:1, X1:2, X1:3, ...
//   {N-M}         N..M; past M back to N, carrying one into the nearest
//                 counter on its left: Q{0}.{0-7} gives Q0.0 ... Q0.7, Q1.0 ...
//   {01-16}       leading zeros set the width: 01, 02, ... 16
//   {A} {a}       letters from A (a): A ... Z, AA, AB ... as spreadsheet
//                 columns; {C} starts at C
//   {A-H}         a letter range that wraps and carries like {N-M}
//
// Only the rightmost counter steps from one text to the next; the others
// step only when a range to their right carries.
class SeriesPattern
{
public:
    static constexpr qsizetype maxLength = 200;    // characters of the pattern
    static constexpr int maxCounters = 8;
    static constexpr int maxDigits = 9;            // of a number, leading zeros included
    static constexpr int maxLetters = 4;           // of a letter counter's bounds

    enum class Problem {
        None,
        Empty,            // nothing typed
        TooLong,          // over maxLength characters
        Unclosed,         // "{" without "}"
        Unopened,         // "}" without "{" (a brace is written "}}")
        EmptyBraces,      // "{}"
        Unknown,          // "{x}", "{1-}", "{A-3}", "{-2}" ...
        TooManyDigits,    // a number over maxDigits digits
        TooManyLetters,   // a letter bound over maxLetters letters
        Reversed,         // "{9-3}", "{H-A}"
        TooManyCounters,  // over maxCounters
        Unencodable,      // a character the descriptions file cannot hold
    };

    struct Error
    {
        Problem problem = Problem::None;
        qsizetype position = 0;   // of the offending part in the pattern, from 0
        qsizetype length = 0;     // of that part
        char32_t character = 0;   // the character, for Unencodable
    };

    // Reads `pattern`; check error() before asking for values.
    explicit SeriesPattern(const QString &pattern);

    bool isValid() const { return fault.problem == Problem::None; }
    const Error &error() const { return fault; }
    int counterCount() const { return int(counters.size()); }

    // The first `count` texts of the series, each as a field holds it (an
    // "@" a line break). Empty when the pattern is not valid.
    QStringList values(qsizetype count) const;

private:
    struct Counter
    {
        bool letters = false;
        bool lower = false;
        qint64 first = 0;     // a letter counter's values count A = 1
        qint64 last = -1;     // -1: open, never wraps
        int width = 0;        // numbers: at least this many digits
    };
    struct Piece
    {
        QString text;         // the literal before the counter
        int counter = -1;     // -1: the trailing literal
    };

    bool parseCounter(const QString &pattern, qsizetype open, qsizetype close);
    void fail(Problem problem, qsizetype position, qsizetype length, char32_t character = 0);

    std::vector<Counter> counters;
    std::vector<Piece> pieces;
    Error fault;
};
