#include "toolkit/ui/memo.h"

#include "toolkit/core/textfile.h"

namespace tk {

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
