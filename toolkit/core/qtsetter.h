#pragma once
// Qt-named setters for published properties.
//
// Code that uic generates from a .ui file sets each property the form
// changed with obj->setX(value): "set", then the property name with its
// first letter upper-cased. Our WRITE functions carry the house names SetX,
// so a class adds TK_QT_SETTER(X, Type) beside Q_PROPERTY(... X ... WRITE
// SetX): an inline setX that forwards to SetX. Put it in the class that
// publishes X, so that it calls that class's SetX also where a subclass
// re-publishes X with a setter of its own (the subclass adds its own setX).
//
// Only properties a form designer can edit and write into a .ui need one:
// bool, int, unsigned, qint64, QString, enums and flags. Object-pointer
// properties (fonts, lists, data sources, menus) and tk::TColor have no
// designer editor and get none.
//
// Where setX is also a QWidget setter, the new member hides QWidget's for
// calls through our types; the class then adds `using QWidget::setX;` so
// both overloads stay callable, or leaves the name out and says why.
//
// Like Q_OBJECT it leaves the access private.
#define TK_QT_SETTER(Name, Type)                                                                             \
public:                                                                                                      \
    void set##Name(Type value) { Set##Name(value); }                                                         \
                                                                                                             \
private:
