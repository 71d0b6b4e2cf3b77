#pragma once
// The table of between-turn values kept in the per-user cache folder, so it
// is worked out once per user. The file carries a format version and a
// checksum; a missing, truncated, corrupt or foreign file is never trusted.

#include "strategy/Strategy.h"

#include <QString>
#include <functional>
#include <memory>

namespace strategy {

class TableCache {
public:
    // <generic cache location>/quintor, shared by the game and the coach
    // whatever their application names. Empty when there is no cache
    // location: then nothing is loaded or saved.
    static QString DefaultFolder();

    explicit TableCache(QString folder = DefaultFolder());
    // With another way to work the table out when the file is no good (for
    // tests, which cannot spend seconds on each case).
    using Compute = std::function<std::shared_ptr<const Table>(const Progress &)>;
    TableCache(QString folder, Compute compute);

    QString FileName() const;

    // The stored table, or null when there is none that can be trusted.
    std::shared_ptr<const Table> Load() const;
    // Writes atomically, and only onto a regular file or a new one; false,
    // with the reason in `why`, when the folder or file cannot be written.
    bool Save(const Table &table, QString *why = nullptr) const;

    // Load(), or else compute and try to save (a failed save is not an
    // error: the table works from memory for this run). Blocking: call it
    // from a worker thread in a program with a window. Null only when
    // progress asked to stop. A table that could not be kept leaves the
    // reason in saveFailure.
    std::shared_ptr<const Table> LoadOrCompute(const Progress &progress = {},
                                               QString *saveFailure = nullptr) const;

private:
    QString m_folder;
    Compute m_compute;
};

} // namespace strategy
