#pragma once
// Controls that show lines: list boxes (plain and with check boxes) and the
// multi-line edit. Their Items and Lines are string lists that write
// through to the widget, so code, translations and layouts change what the
// user sees.

#include "toolkit/core/strings.h"
#include "toolkit/ui/control.h"

#include <QListWidget>
#include <QPlainTextEdit>

namespace tk {

// The lines of a QListWidget as a string list.
class TListWidgetStrings : public TStrings {
    Q_OBJECT
public:
    TListWidgetStrings(QListWidget* list, bool checkable);

    QString Get(int index) const override;
    int GetCount() const override;
    void Insert(int index, const QString& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Put(int index, const QString& s) override;
    QVariant GetObject(int index) const override;
    void PutObject(int index, const QVariant& object) override;

private:
    QListWidgetItem* Item(int index) const;

    QListWidget* list_;
    bool checkable_;
};

class TListBox : public QListWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(tk::TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex STORED false)
public:
    explicit TListBox(QWidget* parent = nullptr);
    TStrings* Items() const { return items_; }
    void SetItems(TStrings* items) { items_->Assign(items); }
    // The selected line, -1 for none.
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int index);

    // Fired when the user selects a line (by mouse or keyboard), not when
    // code sets ItemIndex.
    TNotifyEvent OnClick;

protected:
    explicit TListBox(QWidget* parent, bool checkable);

private:
    TStrings* items_;
    bool settingByCode_ = false;
};

class TCheckListBox : public TListBox {
    Q_OBJECT
public:
    explicit TCheckListBox(QWidget* parent = nullptr);
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
};

// The lines of a QPlainTextEdit as a string list.
class TPlainTextStrings : public TStrings {
    Q_OBJECT
public:
    explicit TPlainTextStrings(QPlainTextEdit* edit);

    QString Get(int index) const override;
    int GetCount() const override;
    void Insert(int index, const QString& s) override;
    void Delete(int index) override;
    void Clear() override;

private:
    QStringList Lines() const;
    void SetLines(const QStringList& lines);

    QPlainTextEdit* edit_;
};

class TMemo : public QPlainTextEdit, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(tk::TStrings* Lines READ Lines WRITE SetLines)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
public:
    explicit TMemo(QWidget* parent = nullptr);
    TStrings* Lines() const { return lines_; }
    void SetLines(TStrings* lines) { lines_->Assign(lines); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }

private:
    TStrings* lines_;
};

}  // namespace tk
