#pragma once
// The docks beside the play area: the score sheet, the coach and the turn
// log. Each is made the first time it is opened, takes its place beside the
// play area and never over it, and can be moved, closed and floated as docks
// are. With none open the window is exactly the design's window; with docks
// it grows to hold them, within the screen. Which are open and where they
// are is remembered in the game's own settings section.

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

class Form1;
class QAction;
class QDockWidget;
class QTimer;
class SettingsStore;

class DockLayout final : public QObject {
    Q_OBJECT
public:
    DockLayout(Form1 &form, SettingsStore &settings);
    ~DockLayout() override;

    // A dock titled `title`, opened and closed with `action` (made
    // checkable), holding what `contents` makes the first time it is opened,
    // and put in `area` unless the player had it elsewhere. `key` names it in
    // the settings, and the dock is "<key>Dock".
    void Add(const QString &key, const QString &title, QAction *action, int area,
             std::function<QWidget *()> contents);
    // Null until first opened.
    QDockWidget *Find(const QString &key) const;
    bool IsOpen(const QString &key) const;
    // Opens the docks the player left open, where they were.
    void Restore();

signals:
    // The dock came into view: opened, or its tab picked.
    void shown(const QString &key);

private:
    struct Entry {
        QString title;
        QAction *action = nullptr;
        int area = 0;
        std::function<QWidget *()> contents;
        QPointer<QDockWidget> dock;
    };
    void Show(const QString &key, bool on);
    void Fit();
    void Save();

    Form1 &m_form;
    SettingsStore &m_settings;
    std::map<QString, Entry> m_docks;
    QTimer *m_save;
};
