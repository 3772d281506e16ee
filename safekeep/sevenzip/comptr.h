#pragma once
// Reference counting for the COM-style objects we exchange with the 7-Zip
// library: an atomic counter for our own objects (the library adds and drops
// references from its worker threads) and a holder that releases a
// reference when it goes out of scope.

#include <atomic>
#include <cstdint>
#include <utility>

namespace safekeep::sz {

// Counter of one of our objects; starts at one reference, held by whoever
// created the object.
class TRefCount {
public:
    uint32_t Add() { return ++count_; }
    // Drops a reference and deletes owner when it was the last one.
    template <typename T> uint32_t Release(T* owner)
    {
        const uint32_t left = --count_;
        if (left == 0)
            delete owner;
        return left;
    }

private:
    std::atomic<uint32_t> count_{1};
};

// Holds one reference to an interface or object and releases it at the end.
template <typename T> class TComPtr {
public:
    TComPtr() = default;
    // Takes over a reference the caller already owns (a new object, an out
    // parameter filled by the library).
    static TComPtr Adopt(T* object)
    {
        TComPtr result;
        result.object_ = object;
        return result;
    }
    TComPtr(const TComPtr& other) : object_(other.object_)
    {
        if (object_)
            object_->AddRef();
    }
    TComPtr(TComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    TComPtr& operator=(TComPtr other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }
    ~TComPtr() { Reset(); }

    void Reset()
    {
        if (object_)
            std::exchange(object_, nullptr)->Release();
    }
    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // The address the library fills with a new reference; drops the current one.
    T** Receive()
    {
        Reset();
        return &object_;
    }
    // Hands out a new reference to an out parameter.
    T* Detach() { return std::exchange(object_, nullptr); }

private:
    T* object_ = nullptr;
};

}  // namespace safekeep::sz
