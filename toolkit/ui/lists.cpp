#include "toolkit/ui/lists.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/textfile.h"

namespace tk {

// ---- TListWidgetStrings --------------------------------------------------------

TListWidgetStrings::TListWidgetStrings(QListWidget* list, bool checkable)
    : TStrings(list), list_(list), checkable_(checkable)
{
}

QListWidgetItem* TListWidgetStrings::Item(int index) const
{
    if (index < 0 || index >= list_->count())
        RaiseIndexError(index);
    return list_->item(index);
}

QString TListWidgetStrings::Get(int index) const
{
    return Item(index)->text();
}

int TListWidgetStrings::GetCount() const
{
    return list_->count();
}

void TListWidgetStrings::Insert(int index, const QString& s)
{
    if (index < 0 || index > list_->count())
        RaiseIndexError(index);
    auto* item = new QListWidgetItem(s);
    if (checkable_) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    list_->insertItem(index, item);
}

void TListWidgetStrings::Delete(int index)
{
    Item(index);  // checks the index
    delete list_->takeItem(index);
}

void TListWidgetStrings::Clear()
{
    list_->clear();
}

void TListWidgetStrings::Put(int index, const QString& s)
{
    Item(index)->setText(s);
}

QVariant TListWidgetStrings::GetObject(int index) const
{
    return Item(index)->data(Qt::UserRole);
}

void TListWidgetStrings::PutObject(int index, const QVariant& object)
{
    Item(index)->setData(Qt::UserRole, object);
}

// ---- TListBox ------------------------------------------------------------------

TListBox::TListBox(QWidget* parent) : TListBox(parent, false) {}

TListBox::TListBox(QWidget* parent, bool checkable)
    : QListWidget(parent), TControl(this), items_(new TListWidgetStrings(this, checkable))
{
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!settingByCode_ && row >= 0)
            FireEvent(OnClick, this);
    });
}

void TListBox::SetItemIndex(int index)
{
    settingByCode_ = true;
    setCurrentRow(index < count() ? index : -1);
    settingByCode_ = false;
}

TCheckListBox::TCheckListBox(QWidget* parent) : TListBox(parent, true) {}

bool TCheckListBox::Checked(int index) const
{
    const QListWidgetItem* it = item(index);
    return it && it->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int index, bool checked)
{
    if (QListWidgetItem* it = item(index))
        it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

// ---- TPlainTextStrings -------------------------------------------------------------

TPlainTextStrings::TPlainTextStrings(QPlainTextEdit* edit) : TStrings(edit), edit_(edit) {}

QStringList TPlainTextStrings::Lines() const
{
    const QString text = edit_->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TPlainTextStrings::SetLines(const QStringList& lines)
{
    edit_->setPlainText(lines.join(QLatin1Char('\n')));
}

QString TPlainTextStrings::Get(int index) const
{
    const QStringList lines = Lines();
    if (index < 0 || index >= lines.size())
        RaiseIndexError(index);
    return lines[index];
}

int TPlainTextStrings::GetCount() const
{
    return static_cast<int>(Lines().size());
}

void TPlainTextStrings::Insert(int index, const QString& s)
{
    QStringList lines = Lines();
    if (index < 0 || index > lines.size())
        RaiseIndexError(index);
    // A line of the memo cannot hold a line break: it becomes several lines.
    const QStringList pieces = s.isEmpty() ? QStringList{QString()} : SplitLines(s);
    for (qsizetype i = 0; i < pieces.size(); ++i)
        lines.insert(index + i, pieces[i]);
    SetLines(lines);
}

void TPlainTextStrings::Delete(int index)
{
    QStringList lines = Lines();
    if (index < 0 || index >= lines.size())
        RaiseIndexError(index);
    lines.removeAt(index);
    SetLines(lines);
}

void TPlainTextStrings::Clear()
{
    edit_->clear();
}

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent), TControl(this), lines_(new TPlainTextStrings(this)) {}

}  // namespace tk
