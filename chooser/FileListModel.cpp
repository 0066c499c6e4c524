#include "FileListModel.h"

#include <QDirIterator>

#include <algorithm>
#include <string>
#include <vector>

namespace nerubato {

namespace {

// A name's place in the order, as code units compared one by one: a letter
// stands for itself folded to one case; a run of digits for '0', so that
// digits sort among the other characters as one class whatever their script,
// then its length without leading zeros, then its digits' values.
std::u16string sortKey(QStringView name)
{
    std::u16string key;
    key.reserve(name.size() + 4);
    qsizetype i = 0;
    while (i < name.size()) {
        if (!name[i].isDigit()) {
            key.push_back(QChar::toCaseFolded(name[i].unicode()));
            ++i;
            continue;
        }
        while (i < name.size() && name[i].digitValue() == 0 &&
               (i + 1 < name.size() && name[i + 1].isDigit()))
            ++i;
        qsizetype end = i;
        while (end < name.size() && name[end].isDigit())
            ++end;
        key.push_back(u'0');
        key.push_back(char16_t(end - i));
        for (; i < end; ++i)
            key.push_back(char16_t(name[i].digitValue()));
    }
    return key;
}

int sign(int value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

// Names whose keys are equal still get a fixed order, case-sensitively.
int compareKeyed(const std::u16string &keyA, QStringView a, const std::u16string &keyB,
                 QStringView b)
{
    if (const int order = keyA.compare(keyB))
        return sign(order);
    return sign(a.compare(b, Qt::CaseSensitive));
}

} // namespace

int compareFileNames(QStringView a, QStringView b)
{
    return compareKeyed(sortKey(a), a, sortKey(b), b);
}

// Each name's key is made once, not at every comparison: sorting 100,000
// names takes a fraction of the time.
void sortFileNames(QStringList &names)
{
    struct Keyed
    {
        std::u16string key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (QString &name : names) {
        std::u16string key = sortKey(name);
        keyed.push_back({std::move(key), std::move(name)});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        return compareKeyed(a.key, a.name, b.key, b.name) < 0;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[i].name);
}

FileListModel::FileListModel(QObject *parent) : QAbstractListModel(parent)
{
    m_batches.setSingleShot(true);
    m_batches.setInterval(0);
    connect(&m_batches, &QTimer::timeout, this, &FileListModel::addBatch);
    m_worker = std::thread([this] { work(); });
}

FileListModel::~FileListModel()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        ++m_generation;
    }
    m_wake.notify_one();
    m_worker.join();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return m_names.at(index.row());
}

QString FileListModel::fileName(const QModelIndex &index) const
{
    return checkIndex(index, CheckIndexOption::IndexIsValid) ? m_names.at(index.row()) : QString();
}

void FileListModel::setDirectory(const QString &path)
{
    const quint64 generation = ++m_generation;
    m_batches.stop();
    beginResetModel();
    m_names.clear();
    m_shownRows = 0;
    m_directory = path;
    m_loading = true;
    endResetModel();
    {
        const std::lock_guard lock(m_mutex);
        m_request = Request{path, generation};
    }
    m_wake.notify_one();
}

void FileListModel::work()
{
    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_request.has_value(); });
            if (m_stopping)
                return;
            request = std::move(*m_request);
            m_request.reset();
        }
        const auto stale = [&] { return m_generation.load() != request.generation; };

        // Plain files only: neither hidden entries (dot-files on Unix) nor
        // system ones (devices, pipes, sockets, dangling links).
        QStringList names;
        QDirIterator entries(request.path, QDir::Files | QDir::NoDotAndDotDot);
        while (entries.hasNext()) {
            entries.next();
            names << entries.fileName();
            if (names.size() % 1024 == 0 && stale())
                break;
        }
        if (stale())
            continue;
        sortFileNames(names);
        if (stale())
            continue;
        QMetaObject::invokeMethod(
            this,
            [this, generation = request.generation, names = std::move(names)] {
                takeListing(generation, names);
            },
            Qt::QueuedConnection);
    }
}

void FileListModel::takeListing(quint64 generation, const QStringList &names)
{
    if (generation != m_generation.load())
        return;
    m_names = names;
    addBatch();
}

void FileListModel::addBatch()
{
    const int count = std::min<int>(kBatchRows, int(m_names.size()) - m_shownRows);
    if (count > 0) {
        beginInsertRows(QModelIndex(), m_shownRows, m_shownRows + count - 1);
        m_shownRows += count;
        endInsertRows();
    }
    if (m_shownRows < m_names.size()) {
        m_batches.start();
        return;
    }
    m_loading = false;
    emit directoryLoaded(m_directory);
}

} // namespace nerubato
