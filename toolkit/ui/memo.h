#pragma once
// TMemo: the multi-line edit, whose Lines are a string list that writes
// through to the widget, so code, translations and layouts change what the
// user sees.

#include "toolkit/core/strings.h"
#include "toolkit/ui/control.h"

#include <QPlainTextEdit>

namespace tk {

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
