#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <string>

class CDialogs;
class CListBox;
class CSemantics;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The window's one pane: the two lists, the count field, the output and the
// buttons, with the commands that work on them. Command states live in three
// flags; the frame reads them through the update handlers.
class CMainView : public QWidget {
    Q_OBJECT
  public:
    explicit CMainView(CDialogs& dialogs, QWidget* parent = nullptr);
    ~CMainView() override;
    CMainView(const CMainView&) = delete;
    CMainView& operator=(const CMainView&) = delete;

    // Loads the semantics and creates the controls. False, after telling the
    // user, when the semantics cannot be loaded; no control exists then.
    bool Create();

    // Runs command `id` when it is one of the view's. True when handled.
    bool OnCmdMsg(int id);
    // Sets the state of the action for command `id` when the view has an
    // update handler for it. True when it has.
    bool OnUpdateCmdUi(int id, QAction& action) const;

    void OnCreateList();
    void OnSaveList();
    void OnChooseInitFile();
    void OnShowInitFile();
    void OnKeepOutput();

    void OnUpdateCreateList(QAction& action) const;
    void OnUpdateSaveList(QAction& action) const;
    void OnUpdateKeepOutput(QAction& action) const;

    void OnCultureChanged();
    void OnNameTypeChanged();

    const std::string& Output() const { return m_output; }
    bool IsCreateEnabled() const { return m_createEnabled; }
    bool IsSaveEnabled() const { return m_saveEnabled; }
    bool IsKeepOutput() const { return m_keepOutput; }
    const CSemantics* Semantics() const { return m_pSemantics.get(); }
    QPlainTextEdit* OutputView() const { return m_outputView; }

  signals:
    // A flag changed: the frame brings its actions up to date.
    void commandStateChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The pane does no dialog-style keyboard navigation: Tab moves nothing.
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowMessage(const QString& text, const QString& caption);
    void FillCultureList();
    void SetCreateEnabled(bool enabled);
    void ShowOutput(std::size_t unchangedBytes);
    bool IsRefusedCountInput(QEvent* event) const;

    CDialogs& m_dialogs;
    std::unique_ptr<CSemantics> m_pSemantics;
    std::string m_output;  // the names as bytes, CR LF between them
    bool m_outputShownAsUtf8 = true;
    bool m_createEnabled = false;
    bool m_saveEnabled = false;
    bool m_keepOutput = false;

    CListBox* m_cultureList = nullptr;
    CListBox* m_nameTypeList = nullptr;
    QLineEdit* m_countEdit = nullptr;
    QPushButton* m_createButton = nullptr;
    QCheckBox* m_keepCheck = nullptr;
    QPushButton* m_saveButton = nullptr;
    std::array<QLabel*, 4> m_labels{};
    QPlainTextEdit* m_outputView = nullptr;
};
