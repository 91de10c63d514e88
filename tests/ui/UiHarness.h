#pragma once

#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "FakeDialogs.h"
#include "settings/MemoryRegistryStore.h"
#include "ui/MainFrame.h"
#include "ui/VeltranoApp.h"

class CListBox;
class QCheckBox;

// A folder of the window tests' data, e.g. UiTestData("basic").
std::string UiTestData(const std::string& name);

// A memory store that records every value written, in order, and can be told
// to refuse one value name, as a store whose file cannot be written would.
class CRecordingStore : public CMemoryRegistryStore {
  public:
    bool SetValue(std::string_view valueName, std::string_view value) override;

    std::vector<std::pair<std::string, std::string>> writes;
    std::string refusedName;
};

// One program instance on a memory store, its dialogs answered by a fake.
// The store is the current one from construction to destruction.
class CUiHarness {
  public:
    CUiHarness();
    ~CUiHarness();
    CUiHarness(const CUiHarness&) = delete;
    CUiHarness& operator=(const CUiHarness&) = delete;

    // Points the store at `dataDir`/init.txt and marks the settings for
    // re-reading, as a first start does.
    void UseData(const std::string& dataDir);
    // InitInstance; on success the frame is also made the active window, so
    // its keyboard shortcuts work.
    bool Start();
    // A value of the store, read as the program reads it.
    std::string Stored(const std::string& name) const;

    // Clicks the culture, then the name type, as a user would. False when a
    // list or an item is missing.
    bool Choose(const QString& culture, const QString& nameType);
    // Puts `count` into the count field and clicks Create. False when the
    // button is missing or disabled, as it is until a name type is chosen.
    bool PressCreate(const QString& count);
    // Choose, then PressCreate: one list of `count` names.
    bool CreateList(const QString& culture, const QString& nameType, const QString& count);

    CMainFrame* Frame() const { return app.MainFrame(); }
    CMainView* View() const { return Frame() != nullptr ? Frame()->View() : nullptr; }
    template <typename Widget>
    Widget* Find(const char* objectName) const {
        return Frame() != nullptr ? Frame()->findChild<Widget*>(QString::fromLatin1(objectName))
                                  : nullptr;
    }

    CRecordingStore store;
    CFakeDialogs dialogs;
    CVeltranoApp app;
};

// The texts of a list's items, top to bottom.
QStringList ItemTexts(const CListBox& list);
// Clicks a check box on its mark, where a person clicks it.
void ClickCheckBox(QCheckBox& box);
// Clicks the item showing `text` as a user would; false when there is none.
bool ClickItem(CListBox& list, const QString& text);

// Finds a control by object name or fails the test function.
#define VELTRANO_FIND(var, Type, harness, name) \
    auto* var = (harness).Find<Type>(name);     \
    QVERIFY2(var != nullptr, "no control named " name)
