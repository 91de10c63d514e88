#include "UiHarness.h"

#include <QCheckBox>
#include <QTest>

#include "settings/Settings.h"
#include "ui/ListBox.h"

std::string UiTestData(const std::string& name) {
    return std::string(VELTRANO_UI_TEST_DATA_DIR) + "/" + name;
}

bool CRecordingStore::SetValue(std::string_view valueName, std::string_view value) {
    writes.emplace_back(valueName, value);
    if (!refusedName.empty() && RegistryNamesEqual(valueName, refusedName)) {
        return false;
    }
    return CMemoryRegistryStore::SetValue(valueName, value);
}

CUiHarness::CUiHarness() {
    UseRegistryStore(&store);
    app.SetDialogs(&dialogs);
}

CUiHarness::~CUiHarness() {
    app.ExitInstance();
    UseRegistryStore(nullptr);
}

void CUiHarness::UseData(const std::string& dataDir) {
    store.OpenKey(CRegistryStore::Access::kReadWrite);
    store.CMemoryRegistryStore::SetValue("DataDir", dataDir);
    store.CMemoryRegistryStore::SetValue("InitFile", "init.txt");
    store.CloseKey();
    SettingsReloadPending = true;
}

bool CUiHarness::Start() {
    if (!app.InitInstance()) {
        return false;
    }
    Frame()->activateWindow();
    return QTest::qWaitForWindowActive(Frame());
}

std::string CUiHarness::Stored(const std::string& name) const { return ReadRegistryValue(name); }

QStringList ItemTexts(const CListBox& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts.append(list.item(row)->text());
    }
    return texts;
}

bool ClickItem(CListBox& list, const QString& text) {
    const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
        return false;
    }
    list.scrollToItem(found.first());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(found.first()).center());
    return true;
}

void ClickCheckBox(QCheckBox& box) {
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(box.height() / 2, box.height() / 2));
}
