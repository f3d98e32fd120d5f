#pragma once

#include <QString>

namespace engine {

// What a piece names as something to open, read from its text alone: the one place that tells a
// path, a link and a program name apart. When the desktop did not open the piece, it says why in
// the user's words instead of the script's.
class LaunchTarget {
public:
    enum class Kind {
        Path,    // begins with "/", "~/", "./" or "../", or is "~"
        Link,    // "scheme://…", "mailto:…" or "www.…"
        Program, // begins with a word that can name a program: "gedit", "firefox https://…"
        Other,   // a calculation, a statement, prose
    };

    static LaunchTarget of(const QString& piece);

    Kind kind() const { return m_kind; }
    // The path, link or program word as typed.
    const QString& name() const { return m_name; }
    // Program: whether such a program is installed.
    bool isInstalledProgram() const;
    // Program: whether it (or the whole piece, an application's name with blanks) is installed
    // but runs in a terminal, and no terminal is installed.
    bool needsMissingTerminal() const;
    // Why the path, link or program did not open ("「~/Documents」が見つかりません。").
    QString failureText() const;

private:
    Kind m_kind = Kind::Other;
    QString m_name;
    QString m_piece;
    bool m_hasParameters = false;
};

// "letters://…" or "mailto:…": a URL, whatever else it holds.
bool looksLikeUrl(const QString& text);

} // namespace engine
