#include "strategy/TableCache.h"

#include "strategy/DiceSets.h"
#include "files/RegularFile.h"

#include <QStandardPaths>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace strategy {

namespace {

// Layout, all little-endian:
//   8 bytes  magic
//   u32      format version
//   u32      number of values
//   u64      fingerprint of the scoring rules the values were worked out for
//   u64      checksum of the value bytes
//   f32 x n  the values
constexpr char Magic[8] = {'Q', 'N', 'T', 'R', 'P', 'L', 'A', 'Y'};
constexpr std::uint32_t FormatVersion = 1;
constexpr qsizetype HeaderSize = 32;

// 64-bit FNV-1a.
std::uint64_t fnv1a(const char *data, qsizetype size, std::uint64_t hash = 0xcbf29ce484222325ull)
{
    for (qsizetype i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(data[i]);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// Changes whenever what any roll scores changes, so a table worked out for
// other rules is never read back.
std::uint64_t rulesFingerprint()
{
    const auto &d = detail::Sets();
    return fnv1a(reinterpret_cast<const char *>(d.points.data()), static_cast<qsizetype>(sizeof d.points));
}

template <typename T>
T get(const char *at)
{
    return qFromLittleEndian<T>(at);
}

// Worked-out values are finite and not negative, positions that cannot occur
// are NaN, and nothing is left once every row is booked.
bool plausible(const std::vector<float> &values)
{
    std::uint64_t possibleSums[64];
    for (unsigned upper = 0; upper < 64; ++upper)
        possibleSums[upper] = detail::ReachableUpperSums(upper);
    for (std::size_t booked = 0; booked <= AllBooked; ++booked) {
        const std::uint64_t possible = possibleSums[booked & 0x3Fu];
        for (std::size_t u = 0; u <= UpperCap; ++u) {
            const float v = values[Table::Index(static_cast<BookedRows>(booked), static_cast<int>(u))];
            if ((possible >> u & 1u) ? !(std::isfinite(v) && v >= 0.0f) : !std::isnan(v))
                return false;
            if (booked == AllBooked && (possible >> u & 1u) && v != 0.0f)
                return false;
        }
    }
    return true;
}

} // namespace

QString TableCache::DefaultFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/quintor");
}

TableCache::TableCache(QString folder) : TableCache(std::move(folder), &Table::Compute) {}

TableCache::TableCache(QString folder, Compute compute)
    : m_folder(std::move(folder)), m_compute(std::move(compute))
{
}

QString TableCache::FileName() const
{
    return m_folder.isEmpty() ? QString() : m_folder + QStringLiteral("/strategy-table.bin");
}

std::shared_ptr<const Table> TableCache::Load() const
{
    if (m_folder.isEmpty())
        return nullptr;
    constexpr qsizetype expectedSize = HeaderSize + qsizetype{Table::ValueCount} * 4;
    QByteArray bytes;
    // Anything but a regular file (a FIFO, say) counts as a damaged one.
    if (!files::ReadAll(FileName(), expectedSize, bytes) || bytes.size() != expectedSize)
        return nullptr;
    const char *p = bytes.constData();
    if (std::memcmp(p, Magic, sizeof Magic) != 0 || get<std::uint32_t>(p + 8) != FormatVersion
        || get<std::uint32_t>(p + 12) != Table::ValueCount || get<std::uint64_t>(p + 16) != rulesFingerprint()
        || get<std::uint64_t>(p + 24) != fnv1a(p + HeaderSize, bytes.size() - HeaderSize))
        return nullptr;

    std::vector<float> values(Table::ValueCount);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto bits = get<std::uint32_t>(p + HeaderSize + 4 * i);
        std::memcpy(&values[i], &bits, 4);
    }
    if (!plausible(values))
        return nullptr;
    return Table::FromValues(std::move(values));
}

bool TableCache::Save(const Table &table, QString *why) const
{
    const auto &values = table.Values();
    if (m_folder.isEmpty() || values.size() != Table::ValueCount) {
        if (why)
            *why = m_folder.isEmpty() ? QStringLiteral("no cache folder") : QStringLiteral("no whole table");
        return false;
    }

    QByteArray bytes(HeaderSize + qsizetype(values.size()) * 4, Qt::Uninitialized);
    char *p = bytes.data();
    std::memcpy(p, Magic, sizeof Magic);
    qToLittleEndian<std::uint32_t>(FormatVersion, p + 8);
    qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(values.size()), p + 12);
    qToLittleEndian<std::uint64_t>(rulesFingerprint(), p + 16);
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, &values[i], 4);
        qToLittleEndian(bits, p + HeaderSize + 4 * i);
    }
    qToLittleEndian<std::uint64_t>(fnv1a(p + HeaderSize, bytes.size() - HeaderSize), p + 24);

    return files::WriteAtomically(FileName(), bytes, why);
}

std::shared_ptr<const Table> TableCache::LoadOrCompute(const Progress &progress, QString *saveFailure) const
{
    if (auto table = Load())
        return table;
    auto table = m_compute ? m_compute(progress) : Table::Compute(progress);
    QString why;
    // If this fails the table still serves this run.
    if (table && !Save(*table, &why) && saveFailure)
        *saveFailure = why;
    return table;
}

} // namespace strategy
