#include "TsForm.h"

#include "chooser/DirectoryService.h"
#include "chooser/DirectoryTreeModel.h"
#include "chooser/FileListModel.h"
#include "chooser/core/PathComposition.h"
#include "editor/core/FieldText.h"
#include "platform/Platform.h"
#include "settings/Errors.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui_sForm.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

namespace nerubato {

namespace {

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

TsForm::TsForm(Platform &platform, QWidget *parent)
    : QWidget(parent), m_platform(platform), ui(std::make_unique<Ui::TsForm>()),
      m_service(new DirectoryService(platform, this)),
      m_dirModel(new DirectoryTreeModel(*m_service, this)),
      m_fileModel(new FileListModel(*m_service, this))
{
    ui->setupUi(this);
    centreOnFirstShow(this);
    // The .ui format has no pixel sizes; these three are one pixel larger than the window.
    for (QWidget *widget :
         {static_cast<QWidget *>(ui->Dirline), static_cast<QWidget *>(ui->FileLBox),
          static_cast<QWidget *>(ui->Pass_Edit)}) {
        QFont font = widget->font();
        font.setPixelSize(13);
        widget->setFont(font);
    }

    connect(m_dirModel, &DirectoryTreeModel::directoryLoaded, this,
            &TsForm::revealCurrentDirectory);
    // The directory shown went from the disk: the view would move on to a
    // neighbour, a directory the user never chose; the nearest parent still
    // there is where it lay. Connected before the view (and its selection
    // model) is, so that this runs first. Setting the tree's current row runs
    // DirlineChange as any move does.
    connect(m_dirModel, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                for (QModelIndex row = ui->Dirline->currentIndex(); row.isValid();
                     row = row.parent()) {
                    if (row.parent() == parent && row.row() >= first && row.row() <= last) {
                        ui->Dirline->setCurrentIndex(nearestExisting(parent));
                        return;
                    }
                }
            });
    ui->Dirline->setModel(m_dirModel);
    ui->Dirline->setItemDelegate(new RowHeightDelegate(16, true, ui->Dirline));
    // Only the directories whose rows are shown are watched.
    connect(ui->Dirline, &QTreeView::expanded, m_dirModel,
            [this](const QModelIndex &index) { m_dirModel->setExpanded(index, true); });
    connect(ui->Dirline, &QTreeView::collapsed, m_dirModel,
            [this](const QModelIndex &index) { m_dirModel->setExpanded(index, false); });

    // A selected file that leaves the disk leaves nothing selected; the view
    // would select its neighbour, a file the user never chose. Connected
    // before the view is, so that this runs first.
    connect(m_fileModel, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) {
                const int current = ui->FileLBox->currentIndex().row();
                if (current >= first && current <= last)
                    ui->FileLBox->selectionModel()->clear();
            });
    ui->FileLBox->setModel(m_fileModel);
    // One row's size stands for all, so 100,000 rows cost no size computation
    // each and laying them all out takes a few milliseconds.
    ui->FileLBox->setUniformItemSizes(true);
    ui->FileLBox->setItemDelegate(new RowHeightDelegate(13, false, ui->FileLBox));

    connectGuarded(m_platform, ui->DriveCBox, &QComboBox::activated, this,
                   &TsForm::DriveCBoxChange);
    connectGuarded(m_platform, ui->Dirline->selectionModel(), &QItemSelectionModel::currentChanged,
                   this, &TsForm::DirlineChange);
    connectGuarded(m_platform, ui->FileLBox->selectionModel(),
                   &QItemSelectionModel::selectionChanged, this, &TsForm::FileLBoxChange);
    // The selection follows its file through a change of the whole list, or
    // goes with it, and says nothing either way.
    connectGuarded(m_platform, m_fileModel, &QAbstractItemModel::layoutChanged, this,
                   &TsForm::FileLBoxChange);
    connectGuarded(m_platform, ui->FileLBox, &QListView::doubleClicked, this,
                   &TsForm::FileLBoxDblClick);
    connectGuarded(m_platform, ui->oK_Btn, &QPushButton::clicked, this, &TsForm::oK_BtnClick);
    ui->FileLBox->installEventFilter(this);
    connectGuarded(m_platform, ui->Button1, &QPushButton::clicked, this, &TsForm::Button1Click);
    connect(m_fileModel, &FileListModel::directoryUnreadable, this, [this](const QString &path) {
        showErrorBox(m_platform,
                     FileOpenError(shownDirectory(QDir::toNativeSeparators(path))).text());
    });
}

QModelIndex TsForm::nearestExisting(QModelIndex index) const
{
    while (index.parent().isValid() && !QFileInfo(m_dirModel->filePath(index)).isDir())
        index = index.parent();
    return index;
}

TsForm::~TsForm() = default;

void TsForm::FormCreate()
{
    ui->MsgL->setText(QStringLiteral("設定するファイルを選択してください"));
    // The drives and the tree are read at the first opening, not at start-up;
    // until then the tree would show the current directory.
    SelectedDirectory = shownDirectory(QDir::toNativeSeparators(QDir::currentPath()));
    SelectedFileName.clear();
    ui->Pass_Edit->setText(SelectedDirectory + SelectedFileName);
}

void TsForm::DriveCBoxChange()
{
    const QString previous = m_drive;
    const QString chosen = m_drives.value(ui->DriveCBox->currentIndex());
    if (chosen == previous || openDrive(chosen))
        return;
    showMessage(m_platform, MessageType::Error, {QStringLiteral("無効なドライブが指定されました")},
                Ok);
    // A drive that cannot be opened leaves the tree untouched, on the previous drive.
    ui->DriveCBox->setCurrentIndex(static_cast<int>(m_drives.indexOf(previous)));
}

void TsForm::DirlineChange()
{
    const QString directory = treeDirectory();
    if (directory.isEmpty())
        return;
    SelectedDirectory = shownDirectory(QDir::toNativeSeparators(directory));
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
    // A name the settings file cannot hold (Hangul, an emoji, on Linux a line
    // break) would be saved as another file's name.
    const QString path = ui->Pass_Edit->text();
    if (!fieldtext::canHold(path)) {
        showMessage(m_platform, MessageType::Error,
                    {QStringLiteral("選択したファイルのパスには保存できない文字が含まれています")},
                    Ok);
        return;
    }
    emit pathAccepted(path);
    hide();
}

void TsForm::FileLBoxDblClick()
{
    oK_BtnClick();
}

void TsForm::Button1Click()
{
    emit cancelled();
    hide();
}

void TsForm::open()
{
    show();
    raise();
    activateWindow();
}

void TsForm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Closed, the chooser keeps no folder from being renamed, deleted or ejected.
    m_service->suspend();
}

void TsForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_opened) {
        m_service->resume();
        return;
    }
    m_opened = true;
    // Read and decoded when the chooser is first opened, not at start-up.
    m_dirModel->setFolderIcon(style()->standardIcon(QStyle::SP_DirIcon));
    guarded(m_platform, [this] {
        for (const QString &drive : m_platform.drives()) {
            m_drives << QDir::fromNativeSeparators(drive);
            ui->DriveCBox->addItem(drive);
        }
        // The process's current directory now, not at creation: that is where
        // the user expects to start.
        const QString current = QDir::currentPath();
        const QString drive = driveOf(current);
        if (!m_drives.contains(drive)) {
            m_drives << drive;
            // A share (\\server\share) is shown as the drives are.
            ui->DriveCBox->addItem(shownDirectory(QDir::toNativeSeparators(drive)));
        }
        ui->DriveCBox->setCurrentIndex(static_cast<int>(m_drives.indexOf(drive)));
        m_driveDirectories.insert(drive, current);
        openDrive(drive);
    });
}

void TsForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        guarded(m_platform, [this] { Button1Click(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TsForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->FileLBox && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return QWidget::eventFilter(watched, event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            guarded(m_platform, [this] { oK_BtnClick(); });
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            // The list takes the focus on a row it does not select; the first
            // arrow selects that row rather than leave it for the next.
            QItemSelectionModel *selection = ui->FileLBox->selectionModel();
            const QModelIndex current = ui->FileLBox->currentIndex();
            if (current.isValid() && !selection->hasSelection()) {
                selection->select(current, QItemSelectionModel::ClearAndSelect);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TsForm::closeEvent(QCloseEvent *event)
{
    guarded(m_platform, [this] { Button1Click(); });
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
    m_dirModel->setDrive(drive, directory);
    selectTreeDirectory(directory);
    return true;
}

void TsForm::selectTreeDirectory(const QString &path)
{
    const QModelIndex index = m_dirModel->index(path);
    ui->Dirline->setCurrentIndex(index);
    ui->Dirline->scrollTo(index);
}

QString TsForm::treeDirectory() const
{
    return m_dirModel->filePath(ui->Dirline->currentIndex());
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
