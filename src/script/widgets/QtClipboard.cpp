#include "script/widgets/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace script {

QString QtClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

bool QtClipboard::hasText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

} // namespace script
