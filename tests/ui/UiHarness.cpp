#include "UiHarness.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
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

bool CUiHarness::Choose(const QString& culture, const QString& nameType) {
    auto* cultures = Find<CListBox>("cultureList");
    auto* nameTypes = Find<CListBox>("nameTypeList");
    return cultures != nullptr && nameTypes != nullptr && ClickItem(*cultures, culture) &&
           ClickItem(*nameTypes, nameType);
}

bool CUiHarness::PressCreate(const QString& count) {
    auto* edit = Find<QLineEdit>("countEdit");
    auto* button = Find<QPushButton>("createButton");
    if (edit == nullptr || button == nullptr || !button->isEnabled()) {
        return false;
    }
    edit->setText(count);
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

bool CUiHarness::CreateList(const QString& culture, const QString& nameType, const QString& count) {
    return Choose(culture, nameType) && PressCreate(count);
}

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
