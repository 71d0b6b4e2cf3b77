#include "app/DockLayout.h"

#include "game/SettingsStore.h"
#include "ui/Form1.h"

#include <QAction>
#include <QDockWidget>
#include <QLayout>
#include <QScreen>
#include <QTimer>

namespace {
const QString Section = QStringLiteral("Layout");
const QString StateKey = QStringLiteral("State");
} // namespace

DockLayout::DockLayout(Form1 &form, SettingsStore &settings)
    : m_form(form), m_settings(settings), m_save(new QTimer(this))
{
    // Docks at the side take the window's whole height; one below sits under
    // the play area only.
    form.setCorner(Qt::TopRightCorner, Qt::RightDockWidgetArea);
    form.setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    form.setCorner(Qt::TopLeftCorner, Qt::LeftDockWidgetArea);
    form.setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    // Moves come in bursts: written once they are over.
    m_save->setSingleShot(true);
    m_save->setInterval(300);
    connect(m_save, &QTimer::timeout, this, &DockLayout::Save);
}

DockLayout::~DockLayout()
{
    if (m_save->isActive())
        Save();
}

void DockLayout::Add(const QString &key, const QString &title, QAction *action, int area,
                     std::function<QWidget *()> contents)
{
    m_docks[key] = {title, action, area, std::move(contents), nullptr};
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, [this, key](bool on) { Show(key, on); });
}

QDockWidget *DockLayout::Find(const QString &key) const
{
    const auto it = m_docks.find(key);
    return it == m_docks.end() ? nullptr : it->second.dock.data();
}

bool DockLayout::IsOpen(const QString &key) const
{
    const QDockWidget *dock = Find(key);
    return dock && !dock->isHidden();
}

void DockLayout::Show(const QString &key, bool on)
{
    Entry &entry = m_docks[key];
    if (!entry.dock && !on)
        return;
    if (!entry.dock) {
        QDockWidget *dock = new QDockWidget(entry.title, &m_form);
        entry.dock = dock;
        dock->setObjectName(key + QStringLiteral("Dock"));
        dock->setWidget(entry.contents());
        dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                          | QDockWidget::DockWidgetFloatable);
        dock->hide();
        // Where the player last had it, else where it belongs.
        if (!m_form.restoreDockWidget(dock))
            m_form.addDockWidget(static_cast<Qt::DockWidgetArea>(entry.area), dock);
        QAction *action = entry.action;
        // Closed with its own button: the menu item follows.
        connect(dock, &QDockWidget::visibilityChanged, action, [this, key, action, dock](bool visible) {
            if (!dock->isHidden() != action->isChecked())
                action->setChecked(!dock->isHidden());
            if (visible)
                emit shown(key);
        });
        for (auto signal : {&QDockWidget::visibilityChanged, &QDockWidget::topLevelChanged})
            connect(dock, signal, this, [this] {
                Fit();
                m_save->start();
            });
        connect(dock, &QDockWidget::dockLocationChanged, m_save, qOverload<>(&QTimer::start));
    }
    if (on) {
        // Free to grow before the dock asks for room; a fixed-size window
        // would grow past the screen.
        m_form.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        entry.dock->show();
        entry.dock->raise();
        Fit();
        // Every dock in its area as large as it asks to be; the window gives
        // what they lack, where the screen has the room.
        const bool side = m_form.dockWidgetArea(entry.dock) & (Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
        QList<QDockWidget *> docks;
        QList<int> heights;
        for (const auto &[name, other] : m_docks) {
            if (other.dock && !other.dock->isHidden() && !other.dock->isFloating()
                && m_form.dockWidgetArea(other.dock) == m_form.dockWidgetArea(entry.dock)) {
                docks << other.dock;
                heights << other.dock->sizeHint().height();
            }
        }
        m_form.resizeDocks(docks, heights, Qt::Vertical);
        QSize grown = m_form.size();
        for (int i = 0; i < docks.size(); ++i)
            grown.rheight() += std::max(0, heights[i] - docks[i]->height());
        const int wantedWidth = entry.dock->sizeHint().width();
        if (side)
            grown.rwidth() += std::max(0, wantedWidth - entry.dock->width());
        if (const QScreen *screen = m_form.screen())
            grown = grown.boundedTo(screen->availableGeometry().size()
                                    - (m_form.frameGeometry().size() - m_form.geometry().size()));
        if (grown != m_form.size()) {
            m_form.resize(grown.expandedTo(m_form.size()));
            m_form.resizeDocks(docks, heights, Qt::Vertical);
        }
        if (side)
            m_form.resizeDocks({entry.dock}, {wantedWidth}, Qt::Horizontal);
    } else {
        entry.dock->hide();
    }
    Fit();
    m_save->start();
}

void DockLayout::Fit()
{
    bool docked = false;
    for (const auto &[key, entry] : m_docks)
        docked = docked || (entry.dock && !entry.dock->isHidden() && !entry.dock->isFloating());
    QLayout *layout = m_form.layout();
    if (!docked) {
        // The design's window, at its size.
        m_form.setMinimumSize(0, 0);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        return;
    }
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    m_form.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout->activate();
    const QScreen *screen = m_form.screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    // The frame the window manager adds around the window.
    const QSize frame = m_form.frameGeometry().size() - m_form.geometry().size();
    QSize wanted = m_form.size().expandedTo(layout->sizeHint());
    QSize least = layout->minimumSize();
    if (room.isValid()) {
        wanted = wanted.boundedTo(room.size() - frame);
        least = least.boundedTo(room.size() - frame);
    }
    m_form.setMinimumSize(least);
    m_form.resize(wanted);
    // Wholly on the screen: a window grown to the right or down moves back.
    if (room.isValid()) {
        QRect outer = m_form.frameGeometry();
        outer.setSize(wanted + frame);
        QPoint at = outer.topLeft();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - outer.width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - outer.height())));
        if (at != outer.topLeft())
            m_form.move(at);
    }
}

void DockLayout::Restore()
{
    const QByteArray state = QByteArray::fromBase64(
        m_settings.GetSetting(SettingsApp, Section, StateKey, QString()).toLatin1());
    if (!state.isEmpty())
        m_form.restoreState(state);
    for (auto &[key, entry] : m_docks)
        if (m_settings.GetSetting(SettingsApp, Section, key, QStringLiteral("off")) == QLatin1String("on"))
            entry.action->setChecked(true);
    // Nothing has changed that needs writing.
    m_save->stop();
}

void DockLayout::Save()
{
    m_save->stop();
    SettingsStore::Values values;
    for (const auto &[key, entry] : m_docks)
        values.append({key, entry.action->isChecked() ? QStringLiteral("on") : QStringLiteral("off")});
    values.append({StateKey, QString::fromLatin1(m_form.saveState().toBase64())});
    // Only a convenience: a file that cannot take it is told about where the
    // high score is concerned.
    m_settings.SaveSettings(SettingsApp, Section, values);
}
