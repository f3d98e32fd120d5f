#include "engine/LaunchTarget.h"

#include "platform/DesktopApplications.h"
#include "platform/ShellExecute.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

namespace engine {

namespace {

bool existsOnDisk(const QString& path) {
    return QFileInfo::exists(platform::expandHome(path));
}

bool isPathText(const QString& text) {
    return text == QLatin1String("~") || text.startsWith(QLatin1Char('/')) ||
           text.startsWith(QLatin1String("~/")) || text.startsWith(QLatin1String("./")) ||
           text.startsWith(QLatin1String("../"));
}

// Letters, digits and "._+-", beginning with a letter or digit and holding a letter: "gedit",
// "7z", "g++", "libreoffice7.6". Not "1+1", "Sqr(2)" or "a=b".
bool isProgramWord(const QString& word) {
    bool letter = false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word.at(i).unicode();
        const bool isLetter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        const bool isDigit = c >= u'0' && c <= u'9';
        const bool isMark = c == u'.' || c == u'_' || c == u'+' || c == u'-';
        if (!isLetter && !isDigit && (!isMark || i == 0))
            return false;
        letter = letter || isLetter;
    }
    return letter;
}

// Text after a program word that reads as the rest of an expression ("x = 1", "f (2)") rather
// than as parameters.
bool continuesAnExpression(const QString& rest) {
    static const QString operators = QStringLiteral("=<>+*/\\^&(),:");
    return !rest.isEmpty() && operators.contains(rest.at(0));
}

} // namespace

bool looksLikeUrl(const QString& text) {
    if (text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return true;
    const qsizetype mark = text.indexOf(QLatin1String("://"));
    if (mark < 1)
        return false;
    for (qsizetype i = 0; i < mark; ++i) {
        const QChar c = text.at(i);
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('+') &&
            c != QLatin1Char('-') && c != QLatin1Char('.'))
            return false;
    }
    return true;
}

LaunchTarget LaunchTarget::of(const QString& piece) {
    LaunchTarget target;
    // The program part as the shell splits it: a quoted one ends at its closing quote.
    QString first = piece;
    QString rest;
    if (piece.startsWith(QLatin1Char('"'))) {
        const qsizetype close = piece.indexOf(QLatin1Char('"'), 1);
        first = close > 0 ? piece.mid(1, close - 1) : piece.mid(1);
        rest = close > 0 ? piece.mid(close + 1).trimmed() : QString();
    } else if (const qsizetype space = piece.indexOf(QLatin1Char(' ')); space >= 0) {
        first = piece.left(space);
        rest = piece.mid(space + 1).trimmed();
    }
    target.m_hasParameters = !rest.isEmpty();
    target.m_piece = piece;

    if (isPathText(first)) {
        target.m_kind = Kind::Path;
        // A path with spaces typed without quotes is the whole piece, unless only its first
        // word is there.
        const bool wholePiece =
            !piece.startsWith(QLatin1Char('"')) && (existsOnDisk(piece) || !existsOnDisk(first));
        target.m_name = wholePiece ? piece : first;
    } else if (looksLikeUrl(first) || !platform::webAddressLink(first).isEmpty()) {
        target.m_kind = Kind::Link;
        target.m_name = first;
    } else if (isProgramWord(first) && !continuesAnExpression(rest)) {
        target.m_kind = Kind::Program;
        target.m_name = first;
    }
    return target;
}

bool LaunchTarget::isInstalledProgram() const {
    return m_kind == Kind::Program && !platform::findProgram(m_name).isEmpty();
}

bool LaunchTarget::needsMissingTerminal() const {
    return m_kind == Kind::Program &&
           (platform::needsMissingTerminal(m_name) ||
            (m_hasParameters && platform::needsMissingTerminal(m_piece)));
}

QString LaunchTarget::failureText() const {
    switch (m_kind) {
    case Kind::Path:
        if (existsOnDisk(m_name))
            return QCoreApplication::translate("LaunchTarget",
                                               "「%1」を開くアプリケーションがありません。")
                .arg(m_name);
        return QCoreApplication::translate("LaunchTarget", "「%1」が見つかりません。").arg(m_name);
    case Kind::Link: {
        const QString webLink = platform::webAddressLink(m_name);
        const QUrl url(webLink.isEmpty() ? m_name : webLink);
        if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
            return QCoreApplication::translate("LaunchTarget", "「%1」が見つかりません。")
                .arg(m_name);
        return QCoreApplication::translate("LaunchTarget",
                                           "「%1」のリンクを開くアプリケーションがありません。")
            .arg(url.scheme() + QLatin1Char(':'));
    }
    case Kind::Program:
        if (needsMissingTerminal())
            return QCoreApplication::translate("LaunchTarget", "「%1」を開く端末がありません。")
                .arg(platform::needsMissingTerminal(m_name) ? m_name : m_piece);
        if (m_hasParameters)
            return QCoreApplication::translate("LaunchTarget", "プログラム「%1」が見つかりません。")
                .arg(m_name);
        return QCoreApplication::translate("LaunchTarget", "「%1」が見つかりません。").arg(m_name);
    case Kind::Other:
        break;
    }
    return QString();
}

} // namespace engine
