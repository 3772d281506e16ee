#pragma once
// TSizeConstraints: the least and largest width and height a window may
// take, 0 meaning no limit. A persistent sub-object (a form's Constraints)
// that fires OnChange after every change and copies with Assign.

#include "toolkit/core/component.h"

#include <QSize>
#include <functional>

namespace tk {

class TSizeConstraints : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(int MinWidth READ MinWidth WRITE SetMinWidth)
    Q_PROPERTY(int MinHeight READ MinHeight WRITE SetMinHeight)
    Q_PROPERTY(int MaxWidth READ MaxWidth WRITE SetMaxWidth)
    Q_PROPERTY(int MaxHeight READ MaxHeight WRITE SetMaxHeight)
    Q_CLASSINFO("Default:MinWidth", "0")
    Q_CLASSINFO("Default:MinHeight", "0")
    Q_CLASSINFO("Default:MaxWidth", "0")
    Q_CLASSINFO("Default:MaxHeight", "0")
public:
    explicit TSizeConstraints(QObject* parent = nullptr);

    // Negative values are taken as 0. The last limit set wins: a minimum
    // above the maximum raises the maximum to it, a maximum below the
    // minimum lowers the minimum to it, so a pair always admits a size.
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int value);
    int MinHeight() const { return minHeight_; }
    void SetMinHeight(int value);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    int MaxHeight() const { return maxHeight_; }
    void SetMaxHeight(int value);

    // size brought within the limits.
    QSize Constrain(const QSize& size) const;

    void Assign(const TPersistent* source) override;

    std::function<void()> OnChange;

private:
    void Changed();

    int minWidth_ = 0;
    int minHeight_ = 0;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
};

}  // namespace tk
