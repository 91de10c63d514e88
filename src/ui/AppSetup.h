#pragma once

class QTranslator;

// What the running QApplication tells the desktop and Qt's own dialogs: the
// program's name and version, the desktop file that carries its icon, and
// German for Qt's texts, loaded into `qtTexts`, which must outlive the event
// loop. The program and the start-up benchmark both call it, so that what is
// timed is what the user starts.
void SetUpApplication(QTranslator& qtTexts);
