#include "DirectoryTreeModel.h"

#include "chooser/core/FileNameOrder.h"
#include "chooser/core/PathComposition.h"

#include <QDir>

#include <algorithm>

namespace nerubato {

DirectoryTreeModel::DirectoryTreeModel(DirectoryService &service, QObject *parent)
    : QAbstractItemModel(parent), m_top(std::make_unique<Node>()), m_service(service)
{
    connect(&m_service, &DirectoryService::changed, this, [this](const QString &path) {
        if (const Node *node = find(path); node != nullptr && node->state == Node::State::Read)
            read(pathOf(node));
    });
}

DirectoryTreeModel::~DirectoryTreeModel() = default;

void DirectoryTreeModel::watch(Node *node, bool on)
{
    if (on && node->watching.isEmpty()) {
        node->watching = pathOf(node);
        m_watched.insert(node->watching);
        m_service.watch(node->watching);
    } else if (!on && !node->watching.isEmpty()) {
        m_service.unwatch(node->watching);
        m_watched.remove(node->watching);
        node->watching.clear();
    }
}

void DirectoryTreeModel::setExpanded(const QModelIndex &index, bool expanded)
{
    if (!index.isValid())
        return;
    Node *node = nodeOf(index);
    node->expanded = expanded;
    if (node->state == Node::State::Unread)
        return; // fetchMore reads it, and watches it if it is still expanded then
    watch(node, expanded);
    // Not watched while collapsed: what it shows again is read again.
    if (expanded && node->state == Node::State::Read)
        read(pathOf(node));
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
    if (node->expanded)
        watch(node, true);
    read(pathOf(node));
}

void DirectoryTreeModel::read(const QString &path)
{
    // Hidden directories and system entries are left out; the worker reads
    // every file all the same, but none of them reaches this thread.
    m_service.read(DirectoryService::Client::Tree, path, DirectoryService::Entries::Directories,
                   [this, path](const QStringList &names, DirectoryService::Listing) {
                       takeListing(path, names);
                   });
}

void DirectoryTreeModel::setDrive(const QString &root, const QString &opened)
{
    m_service.dropAll(DirectoryService::Client::Tree);
    for (const QString &path : std::as_const(m_watched))
        m_service.unwatch(path);
    m_watched.clear();
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

// A row that goes takes its watches, and those below it, along.
void DirectoryTreeModel::forget(Node *node)
{
    watch(node, false);
    for (const auto &child : node->children)
        forget(child.get());
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
    const QModelIndex parent = indexOf(node);
    // A pinned row stays whatever the listing says; where the disk spells its
    // name in another case (a start directory typed in lower case on
    // Windows), it takes the disk's spelling and stays the one row.
    bool added = false;
    for (const auto &child : node->children) {
        if (!child->pinned)
            continue;
        if (names.contains(child->name))
            continue;
        const auto same = std::find_if(names.cbegin(), names.cend(), [&](const QString &name) {
            return name.compare(child->name, kPathCase) == 0;
        });
        if (same != names.cend()) {
            child->name = *same;
            const QModelIndex row = indexOf(child.get());
            emit dataChanged(row, row);
        } else {
            names << child->name;
            added = true;
        }
    }
    if (added)
        sortFileNames(names);

    QStringList shown;
    for (const auto &child : node->children)
        shown << child->name;
    auto &children = node->children;
    applyNameRuns(
        diffNames(shown, shown.size(), names, names.size()),
        [&](int first, int last) {
            beginRemoveRows(parent, first, last);
            for (int row = first; row <= last; ++row)
                forget(children[row].get());
            children.erase(children.begin() + first, children.begin() + last + 1);
            node->renumberFrom(first);
            endRemoveRows();
        },
        [&](int first, int last, qsizetype from) {
            std::vector<std::unique_ptr<Node>> arrived;
            arrived.reserve(last - first + 1);
            for (qsizetype k = from; k < from + (last - first + 1); ++k)
                arrived.push_back(node->makeChild(names[k], false));
            beginInsertRows(parent, first, last);
            children.insert(children.begin() + first, std::make_move_iterator(arrived.begin()),
                            std::make_move_iterator(arrived.end()));
            node->renumberFrom(first);
            endInsertRows();
        });
    // The view asks again whether the row can be expanded.
    if (parent.isValid())
        emit dataChanged(parent, parent);
    emit directoryLoaded(path);
}

} // namespace nerubato
