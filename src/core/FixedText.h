#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>

// A text field of exactly N characters, as the gradebook and library files store it.
// Assigning cuts or pads with blanks; positions never assigned hold NUL, which the file
// writers put out as NUL bytes.
template <int N> class FixedText {
public:
    static constexpr int Width = N;

    FixedText() { m_chars.fill(u'\0'); }
    explicit FixedText(QStringView text) { assign(text); }

    void assign(QStringView text) {
        const int n = std::min<int>(N, int(text.size()));
        for (int i = 0; i < n; ++i)
            m_chars[i] = text[i].unicode();
        std::fill(m_chars.begin() + n, m_chars.end(), u' ');
    }
    FixedText& operator=(QStringView text) {
        assign(text);
        return *this;
    }

    // All N characters, padding and NULs included.
    QString raw() const { return QString(reinterpret_cast<const QChar*>(m_chars.data()), N); }

    // The text as shown: up to the first NUL, trailing blanks removed.
    QString text() const {
        int end = 0;
        while (end < N && m_chars[end] != u'\0')
            ++end;
        while (end > 0 && m_chars[end - 1] == u' ')
            --end;
        return QString(reinterpret_cast<const QChar*>(m_chars.data()), end);
    }

    // A note ends at its first NUL; a note without one, or starting with one, is empty.
    QString noteText() const {
        const auto nul = std::find(m_chars.begin(), m_chars.end(), u'\0');
        if (nul == m_chars.end()) return {};
        return QString(reinterpret_cast<const QChar*>(m_chars.data()), int(nul - m_chars.begin()));
    }
    // Stores a note as its text followed by one NUL, so it reads back through noteText().
    void assignNote(QStringView text) {
        QString withNul = text.left(N - 1).toString();
        withNul.append(QChar(u'\0'));
        assign(withNul);
    }

    QChar at(int i) const { return QChar(m_chars[i]); }
    char16_t unit(int i) const { return m_chars[i]; }
    void set(int i, QChar c) { m_chars[i] = c.unicode(); }
    char16_t* data() { return m_chars.data(); }
    const char16_t* data() const { return m_chars.data(); }

    bool operator==(const FixedText&) const = default;

private:
    std::array<char16_t, N> m_chars;
};
