#include "DirectoryTreeModel.h"

#include "chooser/core/PathComposition.h"

#include <QDir>

namespace nerubato {

struct DirectoryTreeModel::Node
{
    enum class State { Unread, Reading, Read };

    QString name; // the top row's is the whole root path
    Node *parent = nullptr;
    int row = 0;
    // On the way to the opened directory: stays whatever its listing says.
    bool pinned = false;
    State state = State::Unread;
    std::vector<std::unique_ptr<Node>> children;

    std::unique_ptr<Node> makeChild(const QString &childName, bool childPinned)
    {
        auto child = std::make_unique<Node>();
        child->name = childName;
        child->parent = this;
        child->pinned = childPinned;
        return child;
    }

    Node *addOnlyChild(const QString &childName)
    {
        children.push_back(makeChild(childName, true));
        return children.back().get();
    }

    void renumberFrom(int first)
    {
        for (int row = first; row < int(children.size()); ++row)
            children[row]->row = row;
    }

    Node *child(const QString &childName) const
    {
        for (const auto &node : children) {
            if (node->name.compare(childName, kPathCase) == 0)
                return node.get();
        }
        return nullptr;
    }
};

DirectoryTreeModel::DirectoryTreeModel(QObject *parent)
    : QAbstractItemModel(parent), m_top(std::make_unique<Node>()), m_reader(this)
{
    // A directory being written to may change many times a second.
    m_rereadDelay.setSingleShot(true);
    m_rereadDelay.setInterval(300);
    connect(&m_rereadDelay, &QTimer::timeout, this, [this] {
        for (const QString &path : std::as_const(m_changed)) {
            if (const Node *node = find(path); node != nullptr && node->state == Node::State::Read)
                read(path);
        }
        m_changed.clear();
    });
}

DirectoryTreeModel::~DirectoryTreeModel() = default;

QFileSystemWatcher *DirectoryTreeModel::watcher()
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
                [this](const QString &path) {
                    m_changed.insert(path);
                    m_rereadDelay.start();
                });
    }
    return m_watcher;
}

QModelIndex DirectoryTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[row].get());
}

QModelIndex DirectoryTreeModel::parent(const QModelIndex &child) const
{
    return child.isValid() ? indexOf(nodeOf(child)->parent) : QModelIndex();
}

int DirectoryTreeModel::rowCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : int(nodeOf(parent)->children.size());
}

int DirectoryTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant DirectoryTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Node *node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return shownDirectory(node->parent == m_top.get() ? QDir::toNativeSeparators(node->name)
                                                          : node->name);
    case Qt::DecorationRole:
        return m_folder;
    default:
        return {};
    }
}

// A directory not read yet may have directories below it, as far as the view
// can tell, so that it offers to expand it.
bool DirectoryTreeModel::hasChildren(const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    return !node->children.empty() || (parent.isValid() && node->state != Node::State::Read);
}

bool DirectoryTreeModel::canFetchMore(const QModelIndex &parent) const
{
    return parent.isValid() && nodeOf(parent)->state == Node::State::Unread;
}

void DirectoryTreeModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    Node *node = nodeOf(parent);
    node->state = Node::State::Reading;
    const QString path = pathOf(node);
    watcher()->addPath(path);
    read(path);
}

void DirectoryTreeModel::read(const QString &path)
{
    // Hidden directories and system entries are left out; the worker reads
    // every file all the same, but none of them reaches this thread.
    m_reader.read(path, QDir::Dirs | QDir::NoDotAndDotDot,
                  [this, path](const QStringList &names, DirectoryReader::Outcome) {
                      takeListing(path, names);
                  });
}

void DirectoryTreeModel::setDrive(const QString &root, const QString &opened)
{
    m_reader.dropAll();
    m_rereadDelay.stop();
    m_changed.clear();
    if (m_watcher && !m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    beginResetModel();
    m_top = std::make_unique<Node>();
    Node *node = m_top->addOnlyChild(root);
    if (isWithin(opened, root)) {
        const QStringList parts = opened.mid(root.size()).split(u'/', Qt::SkipEmptyParts);
        for (const QString &part : parts)
            node = node->addOnlyChild(part);
    }
    endResetModel();
    // What the view shows first: the root's directories and those beside each
    // one on the way down. The opened directory waits until its row is
    // expanded: the list is reading it at the same time.
    for (node = m_top->children.front().get(); node != nullptr;
         node = node->children.empty() ? nullptr : node->children.front().get()) {
        if (!node->children.empty() || node->parent == m_top.get())
            fetchMore(indexOf(node));
    }
}

QModelIndex DirectoryTreeModel::index(const QString &path) const
{
    return indexOf(find(path));
}

QString DirectoryTreeModel::filePath(const QModelIndex &index) const
{
    return index.isValid() ? pathOf(nodeOf(index)) : QString();
}

DirectoryTreeModel::Node *DirectoryTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : m_top.get();
}

QModelIndex DirectoryTreeModel::indexOf(const Node *node) const
{
    if (node == nullptr || node == m_top.get())
        return {};
    return createIndex(node->row, 0, const_cast<Node *>(node));
}

DirectoryTreeModel::Node *DirectoryTreeModel::find(const QString &path) const
{
    if (m_top->children.empty())
        return nullptr;
    Node *node = m_top->children.front().get();
    const QString &root = node->name;
    if (!isWithin(path, root))
        return nullptr;
    for (const QString &part : path.mid(root.size()).split(u'/', Qt::SkipEmptyParts)) {
        node = node->child(part);
        if (node == nullptr)
            return nullptr;
    }
    return node;
}

QString DirectoryTreeModel::pathOf(const Node *node) const
{
    QStringList parts;
    for (; node->parent != m_top.get(); node = node->parent)
        parts.prepend(node->name);
    if (parts.isEmpty())
        return node->name;
    return node->name + (node->name.endsWith(u'/') ? QString() : QStringLiteral("/")) +
           parts.join(u'/');
}

// The rows there become the rows read, keeping the rows (and whatever is open
// below them) of the directories still there.
void DirectoryTreeModel::takeListing(const QString &path, QStringList names)
{
    Node *node = find(path);
    if (node == nullptr)
        return; // gone from the tree meanwhile
    node->state = Node::State::Read;
    bool added = false;
    for (const auto &child : node->children) {
        if (child->pinned && !names.contains(child->name)) {
            names << child->name;
            added = true;
        }
    }
    if (added)
        sortFileNames(names);

    QStringList shown;
    for (const auto &child : node->children)
        shown << child->name;
    const QModelIndex parent = indexOf(node);
    auto &children = node->children;
    for (const NameRun &run : diffNames(shown, shown.size(), names, names.size())) {
        const int first = int(run.row);
        const int last = int(run.row + run.count - 1);
        if (run.from < 0) {
            beginRemoveRows(parent, first, last);
            children.erase(children.begin() + first, children.begin() + last + 1);
            node->renumberFrom(first);
            endRemoveRows();
            continue;
        }
        std::vector<std::unique_ptr<Node>> arrived;
        arrived.reserve(run.count);
        for (qsizetype k = run.from; k < run.from + run.count; ++k)
            arrived.push_back(node->makeChild(names[k], false));
        beginInsertRows(parent, first, last);
        children.insert(children.begin() + first, std::make_move_iterator(arrived.begin()),
                        std::make_move_iterator(arrived.end()));
        node->renumberFrom(first);
        endInsertRows();
    }
    // The view asks again whether the row can be expanded.
    if (parent.isValid())
        emit dataChanged(parent, parent);
    emit directoryLoaded(path);
}

} // namespace nerubato
