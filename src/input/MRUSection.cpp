#include "input/MRUSection.h"

#include "config/CIniFile.h"
#include "input/CMRUCombo.h"

namespace input {

void LoadMRUSection(CMRUCombo& history, config::CIniFile& store) {
    store.setNowSection(kMRUSection);
    const QStringList keys = store.Keys();
    for (const QString& key : keys) {
        const QString value = store.Data(key);
        if (!value.isEmpty())
            history.AddMRU(value, false);
    }
    if (history.comboBox())
        history.comboBox()->setText(QString());
}

bool SaveMRUSection(const CMRUCombo& history, config::CIniFile& store) {
    store.setNowSection(kMRUSection);
    store.Clear();
    const QStringList& entries = history.MRUList();
    for (qsizetype i = 0; i < entries.size(); ++i)
        store.setData(QString::number(i + 1), entries[i]);
    return store.Save(kMRUSection);
}

} // namespace input
