#pragma once

#include "engine/ErrorList.h"
#include "engine/core/EngineError.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace kv::engine {

/// An ordered collection of engine objects that owns them: item by position or by name
/// (case-insensitive), Append, Delete, Refresh. The owner supplies what Append/Delete/Refresh
/// do in the database and where failures are recorded; references to items stay valid until
/// that item is deleted or the collection is refreshed.
template <class T> class Collection {
public:
    using AppendHook = std::function<void(T&)>;
    using DeleteHook = std::function<void(T&)>;
    using RefreshHook = std::function<void(Collection&)>;
    using ErrorsHook = std::function<ErrorList*()>;

    Collection() = default;
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    void setHooks(AppendHook append, DeleteHook remove, RefreshHook refresh, ErrorsHook errors)
    {
        m_append = std::move(append);
        m_delete = std::move(remove);
        m_refresh = std::move(refresh);
        m_errors = std::move(errors);
    }

    int count() const { return static_cast<int>(m_items.size()); }
    /// Throws 3265 for a position outside 0..count()-1.
    T& item(int index) const
    {
        if (index < 0 || index >= count())
            throw EngineError::itemNotFound(QString::number(index));
        return *m_items[static_cast<size_t>(index)];
    }
    /// Throws 3265 when no item has that name.
    T& item(const QString& name) const
    {
        if (T* t = find(name))
            return *t;
        throw EngineError::itemNotFound(name);
    }
    T* find(const QString& name) const
    {
        for (const auto& t : m_items)
            if (t->name().compare(name, Qt::CaseInsensitive) == 0)
                return t.get();
        return nullptr;
    }
    bool contains(const QString& name) const { return find(name) != nullptr; }
    QList<T*> items() const
    {
        QList<T*> list;
        for (const auto& t : m_items)
            list.append(t.get());
        return list;
    }

    /// Stores the object (through the owner's hook) and takes it over. Throws EngineError and
    /// leaves the collection unchanged on failure.
    T& append(std::unique_ptr<T> object)
    {
        return recordErrors(errors(), [&]() -> T& { return insert(std::move(object)); });
    }
    /// Deletes the named object from the database and the collection; throws 3265.
    void remove(const QString& name)
    {
        recordErrors(errors(), [&] { erase(name); });
    }
    void refresh()
    {
        if (m_refresh)
            m_refresh(*this);
    }

    /// For the owner: fill without storing.
    void adopt(std::unique_ptr<T> object) { m_items.push_back(std::move(object)); }

    void clear() { m_items.clear(); }

private:
    ErrorList* errors() const { return m_errors ? m_errors() : nullptr; }
    T& insert(std::unique_ptr<T> object)
    {
        if (!object)
            throw EngineError(err::InvalidOperation, QStringLiteral("Ungültige Operation."));
        if (contains(object->name()))
            throw EngineError(err::NameExists,
                QStringLiteral("Das Objekt '%1' ist bereits in der Auflistung vorhanden.")
                    .arg(object->name()));
        if (m_append)
            m_append(*object);
        m_items.push_back(std::move(object));
        return *m_items.back();
    }
    void erase(const QString& name)
    {
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if ((*it)->name().compare(name, Qt::CaseInsensitive) == 0) {
                if (m_delete)
                    m_delete(**it);
                m_items.erase(it);
                return;
            }
        }
        throw EngineError::itemNotFound(name);
    }

    std::vector<std::unique_ptr<T>> m_items;
    AppendHook m_append;
    DeleteHook m_delete;
    RefreshHook m_refresh;
    ErrorsHook m_errors;
};

} // namespace kv::engine
