#include "DropText.h"

#include <QMimeData>
#include <QUrl>

namespace app {

QString droppedText(const QMimeData* data) {
    if (!data)
        return QString();
    // File managers offer the file list as text too (file:// URLs); the file list is what the user
    // dragged, so it wins over that text.
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile())
                return url.toLocalFile();
        }
    }
    if (data->hasText())
        return data->text();
    return QString();
}

QString appendDroppedText(const QString& controlText, const QString& dropped) {
    QString text = dropped;
    if (text.contains(QLatin1Char(' ')))
        text = QLatin1Char('"') + text + QLatin1Char('"');
    QString result = controlText;
    if (!result.isEmpty() && !result.endsWith(QLatin1Char(' ')))
        result += QLatin1Char(' ');
    return result + text;
}

bool canAcceptDrop(const QMimeData* data) {
    return data && (data->hasText() || data->hasUrls());
}

} // namespace app
