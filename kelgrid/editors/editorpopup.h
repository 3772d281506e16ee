#pragma once
// TKelEditorPopup: the in-place editor's view of the popup its button opens.
//
// The popups differ in their bases (a popup window, a month calendar, a
// list box, a grid) but each offers the same small interface: Popup(screen
// point), ForwardKey, OnCloseUp(sender, accept) after it hid itself, and
// optionally SetAssociate (presses on the editor are no outside clicks).
// The adapter puts that interface behind one type, so the editor opens,
// animates, feeds and closes every popup the same way.

#include <QKeyEvent>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

namespace kelgrid {

class TKelEditorPopup {
public:
    virtual ~TKelEditorPopup() = default;
    // Nullptr once the popup was freed.
    virtual QWidget* Widget() const = 0;
    // Shows the popup at its size with its top-left at screenPos, without
    // taking the focus.
    virtual void Show(const QPoint& screenPos) = 0;
    // Hides it without a close-up.
    void Hide()
    {
        if (QWidget* widget = Widget())
            widget->hide();
    }
    // The keys the editor receives while the popup is open; whether taken.
    virtual bool ForwardKey(const QKeyEvent& event) = 0;
    virtual void SetOnCloseUp(std::function<void(QObject*, bool)> handler) = 0;
    virtual void SetAssociate(QWidget* editor) = 0;
};

// The adapter for a popup class P with the interface above.
template <class P>
class TKelEditorPopupOf final : public TKelEditorPopup {
public:
    explicit TKelEditorPopupOf(P* popup) : popup_(popup) {}
    P* Popup() const { return popup_; }
    QWidget* Widget() const override { return popup_; }
    void Show(const QPoint& screenPos) override
    {
        if (popup_)
            popup_->Popup(screenPos);
    }
    bool ForwardKey(const QKeyEvent& event) override { return popup_ && popup_->ForwardKey(event); }
    void SetOnCloseUp(std::function<void(QObject*, bool)> handler) override
    {
        if (popup_)
            popup_->OnCloseUp = std::move(handler);
    }
    void SetAssociate(QWidget* editor) override
    {
        if constexpr (requires(P* p, QWidget* w) { p->SetAssociate(w); })
            if (popup_)
                popup_->SetAssociate(editor);
    }

private:
    QPointer<P> popup_;
};

template <class P>
std::unique_ptr<TKelEditorPopup> MakeEditorPopup(P* popup)
{
    return std::make_unique<TKelEditorPopupOf<P>>(popup);
}

}  // namespace kelgrid
