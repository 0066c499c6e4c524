// How the file chooser's views are bound to its models, which read through its
// directory service, and to its handlers; and the keys of its list.
#include "TsForm.h"

#include "chooser/DirectoryTreeModel.h"
#include "chooser/FileListModel.h"
#include "chooser/RowHeightDelegate.h"
#include "chooser/core/PathComposition.h"
#include "settings/Errors.h"
#include "ui/Handlers.h"
#include "ui_TsForm.h"

#include <QDir>
#include <QKeyEvent>

namespace nerubato {

namespace {

// The .ui format has no pixel sizes; these are one pixel larger than the window.
void enlargeFont(QWidget *widget)
{
    QFont font = widget->font();
    font.setPixelSize(13);
    widget->setFont(font);
}

} // namespace

void TsForm::bindTree()
{
    enlargeFont(ui->Dirline);
    enlargeFont(ui->Pass_Edit);
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
}

void TsForm::bindList()
{
    enlargeFont(ui->FileLBox);
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
    ui->FileLBox->installEventFilter(this);
    connect(m_fileModel, &FileListModel::directoryUnreadable, this, [this](const QString &path) {
        showErrorBox(m_platform,
                     FileOpenError(shownDirectory(QDir::toNativeSeparators(path))).text());
    });
}

void TsForm::connectHandlers()
{
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
    connectGuarded(m_platform, ui->Button1, &QPushButton::clicked, this, &TsForm::Button1Click);
    cancelOnEscape(m_platform, this, [this] { Button1Click(); });
}

// Enter in the file list accepts as ＯＫ does.
bool TsForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ui->FileLBox || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
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
    return QWidget::eventFilter(watched, event);
}

} // namespace nerubato
