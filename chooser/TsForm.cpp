#include "TsForm.h"

#include "chooser/FileListModel.h"
#include "chooser/PathComposition.h"
#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "shell/Messages.h"
#include "ui_sForm.h"

#include <QAbstractFileIconProvider>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QListView>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

namespace nerubato {

namespace {

constexpr Qt::CaseSensitivity kPathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

// True when path is root itself or lies below it ('/'-separated paths).
bool isWithin(const QString &path, const QString &root)
{
    if (root.isEmpty())
        return false;
    if (!path.startsWith(root, kPathCase))
        return false;
    return path.size() == root.size() || root.endsWith(QLatin1Char('/')) ||
           path.at(root.size()) == QLatin1Char('/');
}

bool isBrowsable(const QString &path)
{
    const QFileInfo info(path);
#ifdef Q_OS_WIN
    return info.isDir() && info.isReadable();
#else
    return info.isDir() && info.isReadable() && info.isExecutable();
#endif
}

// Fixed row heights as designed, whatever the font's own line height.
class RowHeightDelegate : public QStyledItemDelegate
{
public:
    RowHeightDelegate(int height, bool icons, QObject *parent)
        : QStyledItemDelegate(parent), m_height(height), m_icons(icons)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_height);
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!m_icons) {
            option->features &= ~QStyleOptionViewItem::HasDecoration;
            option->icon = QIcon();
        }
    }

private:
    int m_height;
    bool m_icons;
};

} // namespace

// The tree's model asks its icon provider about every entry it reads, files
// included, on the UI thread, and the stock provider looks up each file's type:
// seconds for a directory of 100,000 files. A folder picture is all it shows.
class PlainIcons : public QAbstractFileIconProvider
{
public:
    explicit PlainIcons(const QIcon &folder) : m_folder(folder) {}
    QIcon icon(IconType type) const override { return type == Folder ? m_folder : QIcon(); }
    QIcon icon(const QFileInfo &info) const override { return info.isDir() ? m_folder : QIcon(); }
    // Never empty: the model takes an entry whose type is empty for one it
    // has already shown, and would never show it.
    QString type(const QFileInfo &info) const override
    {
        return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
    }

private:
    QIcon m_folder;
};

// The tree shows one drive: its root as the single top row, the root's
// directories below. Hidden directories stay out of sight except those on the
// way to the directory the chooser opened, so that opening a directory below
// one never leaves the tree without its current row.
class DriveOutline : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setDrive(const QString &root, const QString &opened)
    {
        m_root = root;
        m_opened = opened;
        m_rootIndex = fileSystem()->index(root);
        invalidateFilter();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole && index.column() == 0 && mapToSource(index) == m_rootIndex)
            return QDir::toNativeSeparators(m_root);
        return QSortFilterProxyModel::data(index, role);
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const QModelIndex index = fileSystem()->index(row, 0, parent);
        const QString path = fileSystem()->filePath(index);
        if (isWithin(m_root, path))
            return true; // the root or a directory above it, on the way down to it
        if (!isWithin(path, m_root))
            return false;
        return !fileSystem()->fileInfo(index).isHidden() || isWithin(m_opened, path);
    }

private:
    QFileSystemModel *fileSystem() const { return static_cast<QFileSystemModel *>(sourceModel()); }

    QString m_root;
    QString m_opened;
    QPersistentModelIndex m_rootIndex;
};

TsForm::TsForm(Forms &forms, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TsForm>()), m_forms(forms),
      m_dirModel(new QFileSystemModel(this)), m_outline(new DriveOutline(this)),
      m_fileModel(new FileListModel(this)),
      m_directoryIcons(std::make_unique<PlainIcons>(style()->standardIcon(QStyle::SP_DirIcon)))
{
    ui->setupUi(this);
    // The .ui format has no pixel sizes; these three are one pixel larger than the window.
    for (QWidget *widget :
         {static_cast<QWidget *>(ui->Dirline), static_cast<QWidget *>(ui->FileLBox),
          static_cast<QWidget *>(ui->Pass_Edit)}) {
        QFont font = widget->font();
        font.setPixelSize(13);
        widget->setFont(font);
    }

    m_dirModel->setFilter(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    m_dirModel->setIconProvider(m_directoryIcons.get());
    m_outline->setSourceModel(m_dirModel);
    ui->Dirline->setModel(m_outline);
    for (int column = 1; column < m_dirModel->columnCount(); ++column)
        ui->Dirline->hideColumn(column);
    ui->Dirline->setItemDelegate(new RowHeightDelegate(16, true, ui->Dirline));

    ui->FileLBox->setModel(m_fileModel);
    // One row's size stands for all, so 100,000 rows cost no size computation
    // each and laying them all out takes a few milliseconds.
    ui->FileLBox->setUniformItemSizes(true);
    ui->FileLBox->setItemDelegate(new RowHeightDelegate(13, false, ui->FileLBox));

    auto handle = [this](auto handler) {
        return [this, handler] { guarded(*m_forms.platform, [&] { (this->*handler)(); }); };
    };
    connect(ui->DriveCBox, &QComboBox::activated, this, handle(&TsForm::DriveCBoxChange));
    connect(ui->Dirline->selectionModel(), &QItemSelectionModel::currentChanged, this,
            handle(&TsForm::DirlineChange));
    connect(ui->FileLBox->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            handle(&TsForm::FileLBoxChange));
    connect(ui->FileLBox, &QListView::doubleClicked, this, handle(&TsForm::FileLBoxDblClick));
    connect(ui->oK_Btn, &QPushButton::clicked, this, handle(&TsForm::oK_BtnClick));
    connect(ui->Button1, &QPushButton::clicked, this, handle(&TsForm::Button1Click));
    connect(m_dirModel, &QFileSystemModel::directoryLoaded, this, &TsForm::revealCurrentDirectory);
}

TsForm::~TsForm()
{
    // The tree's model uses its icon provider until it is gone.
    delete m_outline;
    delete m_dirModel;
}

void TsForm::FormCreate()
{
    ui->MsgL->setText(QStringLiteral("設定するファイルを選択してください"));
    // The drives and the tree are read at the first opening, not at start-up;
    // until then the tree would show the current directory.
    SelectedDirectory = QDir::toNativeSeparators(QDir::currentPath());
    SelectedFileName.clear();
    ui->Pass_Edit->setText(SelectedDirectory + SelectedFileName);
}

void TsForm::DriveCBoxChange()
{
    const QString previous = m_drive;
    const QString chosen = m_drives.value(ui->DriveCBox->currentIndex());
    if (chosen == previous || openDrive(chosen))
        return;
    showMessage(*m_forms.platform, MessageType::Error,
                {QStringLiteral("無効なドライブが指定されました")}, Ok);
    // A drive that cannot be opened leaves the tree untouched, on the previous drive.
    ui->DriveCBox->setCurrentIndex(static_cast<int>(m_drives.indexOf(previous)));
}

void TsForm::DirlineChange()
{
    const QString directory = treeDirectory();
    if (directory.isEmpty())
        return;
    SelectedDirectory = QDir::toNativeSeparators(directory);
    m_driveDirectories.insert(m_drive, directory);
    ui->Pass_Edit->setText(SelectedDirectory);
    if (pointFileListAt(directory))
        FileLBoxChange();
}

void TsForm::FileLBoxChange()
{
    const QModelIndexList selected = ui->FileLBox->selectionModel()->selectedIndexes();
    // The model's name as stored: on Linux a name may itself contain '\' or ':'.
    SelectedFileName = selected.isEmpty() ? QString() : m_fileModel->fileName(selected.first());
    ui->Pass_Edit->setText(composePath(SelectedDirectory, SelectedFileName));
}

void TsForm::oK_BtnClick()
{
    const int target = m_forms.Form1->BrowseTarget;
    if (target >= 1 && target <= 5)
        m_forms.Form1->setProgramPath(target, ui->Pass_Edit->text());
    m_forms.Form1->setEnabled(true);
    hide();
}

void TsForm::FileLBoxDblClick()
{
    oK_BtnClick();
}

void TsForm::Button1Click()
{
    m_forms.Form1->setEnabled(true);
    hide();
}

void TsForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    guarded(*m_forms.platform, [this] {
        for (const QString &drive : m_forms.platform->drives()) {
            m_drives << QDir::fromNativeSeparators(drive);
            ui->DriveCBox->addItem(drive);
        }
        // The process's current directory now, not at creation: that is where
        // the user expects to start.
        const QString current = QDir::currentPath();
        const QString drive = driveOf(current);
        if (!m_drives.contains(drive)) {
            m_drives << drive;
            ui->DriveCBox->addItem(QDir::toNativeSeparators(drive));
        }
        ui->DriveCBox->setCurrentIndex(static_cast<int>(m_drives.indexOf(drive)));
        m_driveDirectories.insert(drive, current);
        openDrive(drive);
    });
}

void TsForm::closeEvent(QCloseEvent *event)
{
    guarded(*m_forms.platform, [this] { Button1Click(); });
    event->accept();
}

QString TsForm::driveOf(const QString &path) const
{
    QString drive;
    for (const QString &root : m_drives) {
        if (root.size() > drive.size() && isWithin(path, root))
            drive = root;
    }
    return drive.isEmpty() ? QStorageInfo(path).rootPath() : drive;
}

bool TsForm::openDrive(const QString &drive)
{
    if (drive.isEmpty() || !isBrowsable(drive))
        return false;
    QString directory = m_driveDirectories.value(drive, drive);
    if (!isBrowsable(directory))
        directory = drive;
    m_drive = drive;
    m_dirModel->setRootPath(drive);
    m_outline->setDrive(drive, directory);
    ui->Dirline->setRootIndex(m_outline->mapFromSource(m_dirModel->index(drive)).parent());
    selectTreeDirectory(directory);
    return true;
}

void TsForm::selectTreeDirectory(const QString &path)
{
    const QModelIndex index = m_outline->mapFromSource(m_dirModel->index(path));
    ui->Dirline->setCurrentIndex(index);
    ui->Dirline->scrollTo(index);
}

QString TsForm::treeDirectory() const
{
    const QModelIndex current = ui->Dirline->currentIndex();
    return current.isValid() ? m_dirModel->filePath(m_outline->mapToSource(current)) : QString();
}

bool TsForm::pointFileListAt(const QString &path)
{
    if (path == m_listDirectory)
        return false;
    m_listDirectory = path;
    {
        // The refill itself reports the change, once, after the new root is in place.
        const QSignalBlocker blocker(ui->FileLBox->selectionModel());
        ui->FileLBox->selectionModel()->clear();
    }
    m_fileModel->setDirectory(path);
    ui->FileLBox->scrollToTop();
    return true;
}

// The tree's rows arrive after the directories above the current one are read;
// keep the current row in view as they do.
void TsForm::revealCurrentDirectory(const QString &loadedPath)
{
    const QString current = treeDirectory();
    if (!current.isEmpty() && isWithin(current, loadedPath))
        ui->Dirline->scrollTo(ui->Dirline->currentIndex());
}

} // namespace nerubato
