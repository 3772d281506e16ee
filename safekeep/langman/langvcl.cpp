// Translating a window: the property keys of the loaded language that belong
// to the window's class are applied to the window and its components
// through their published properties.
#include "safekeep/langman/languagemanager.h"

#include "toolkit/core/application.h"
#include "toolkit/core/collection.h"
#include "toolkit/core/component.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"

#include <QHash>
#include <QKeySequence>

namespace safekeep {

namespace {

const QString kManagerClass = QStringLiteral("TLanguageManager");

}  // namespace

// The components an owner owns, by upper-cased name, as FindComponent finds
// them, built once per translation: a window of hundreds of controls would
// otherwise be searched once per key. An owner that is no component (a plain
// QObject tree) offers its Qt descendants, nearer ones first.
class ComponentIndex {
public:
    explicit ComponentIndex(QObject* owner) : owner_(owner)
    {
        if (const tk::TComponentCore* core = tk::CoreOf(owner)) {
            for (int i = 0; i < core->ComponentCount(); ++i)
                Add(core->Components(i)->ComponentObject());
            return;
        }
        QList<QObject*> pending{owner};
        for (qsizetype i = 0; i < pending.size(); ++i) {
            for (QObject* child : pending[i]->children()) {
                Add(child);
                pending.append(child);
            }
        }
    }
    // "self" is the owner; any other name a component it owns.
    QObject* Find(const QString& upperName) const
    {
        if (upperName == QLatin1String("SELF"))
            return owner_;
        return byName_.value(upperName, nullptr);
    }

private:
    void Add(QObject* component)
    {
        const QString name = component->objectName().toUpper();
        if (!name.isEmpty() && !byName_.contains(name))
            byName_.insert(name, component);
    }

    QObject* owner_;
    QHash<QString, QObject*> byName_;
};

// The shortcut code our controls use for a key name such as "Ctrl+S";
// 0 for text that names no key.
int TextToShortCut(const QString& text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    return sequence.isEmpty() ? 0 : sequence[0].toCombined();
}

void SetStringsProperty(tk::TStrings* strings, const QString& property, const QString& value)
{
    if (property == QLatin1String("TEXT"))
        strings->SetText(value);
    else if (property == QLatin1String("COMMATEXT"))
        strings->SetCommaText(value);
    else if (property == QLatin1String("DELIMITEDTEXT"))
        strings->SetDelimitedText(value);
    // Other properties of a string list are not translated.
}


void TLanguageManager::ApplyPropertyKey(const ComponentIndex& components, QObject* onlyComponent,
                                        const QString& prefix, int index)
{
    const QString key = fLangProps->Strings(index);
    const QString value = fLangProps->Objects(index).toString();
    const qsizetype lastDot = key.lastIndexOf(QLatin1Char('.'));
    const QString property = key.mid(lastDot + 1);
    const QString path = key.mid(prefix.size(), lastDot - prefix.size());
    const QStringList segments = path.split(QLatin1Char('.'));

    QObject* reached = components.Find(segments.first());
    if (!reached)
        return;  // a component this build of the window lacks
    if (segments.size() == 1) {
        if (onlyComponent && onlyComponent != reached)
            return;
        if (fAllowSpecialProps && property == QLatin1String("SHORTCUT"))
            tk::SetPropValue(reached, property, TextToShortCut(value));
        else
            tk::SetPropText(reached, property, value);
        return;
    }
    for (qsizetype i = 1; i + 1 < segments.size(); ++i) {
        reached = tk::GetObjectProp(reached, segments[i]);
        if (!reached)
            return;
    }
    if (onlyComponent && onlyComponent != reached)
        return;

    const QString last = segments.last();
    const qsizetype bracket = last.indexOf(QLatin1Char('['));
    if (bracket < 0) {
        QObject* object = tk::GetObjectProp(reached, last);
        if (!object)
            return;
        if (auto* strings = qobject_cast<tk::TStrings*>(object))
            SetStringsProperty(strings, property, value);
        else
            tk::SetPropText(object, property, value);
        return;
    }
    bool isNumber = false;
    const int n = last.mid(bracket + 1, last.indexOf(QLatin1Char(']'), bracket) - bracket - 1).toInt(&isNumber);
    if (!isNumber)
        return;
    auto* collection = qobject_cast<tk::TCollection*>(tk::GetObjectProp(reached, last.left(bracket)));
    tk::TCollectionItem* item = collection ? tk::CollectionItemByIdOrIndex(collection, n) : nullptr;
    if (!item)
        throw tk::EPropertyError(QStringLiteral("Collection item %1 not found").arg(n));
    tk::SetPropText(item, property, value);
}

bool TLanguageManager::LangVCL(QObject* owner, const QString& asClassName, QObject* onlyComponent)
{
    fLastError.clear();
    try {
        const QString prefix = (asClassName.isEmpty() ? tk::ClassNameOf(owner) : asClassName).toUpper() + QLatin1Char('.');
        // The table is sorted, so the keys of one class stand together from
        // where the prefix would be inserted.
        int index = 0;
        fLangProps->Find(prefix, index);
        const ComponentIndex components(owner);
        for (; index < fLangProps->Count() && fLangProps->Strings(index).startsWith(prefix); ++index) {
            try {
                ApplyPropertyKey(components, onlyComponent, prefix, index);
            } catch (...) {
                const QString message = tk::ExceptionMessage(std::current_exception());
                fLastError += QStringLiteral("\r\n\r\n") + kManagerClass + QStringLiteral(" (") +
                              fLangProps->Strings(index) + QStringLiteral("):\r\n      ") + message;
            }
        }
    } catch (...) {
        const QString message = tk::ExceptionMessage(std::current_exception());
        fLastError += QStringLiteral("\r\n\r\n") + kManagerClass + QStringLiteral(":\r\n      ") + message;
    }
    return fLastError.isEmpty();
}

}  // namespace safekeep
