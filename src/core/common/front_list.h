#pragma once

#include <cstddef>
#include <vector>

namespace tarvex::common {

/**
 * Records in *list order*, where a record added with pushFront() comes first: the order the file
 * formats have always defined (a record read is inserted at the front of its list). Stored
 * appended, so adding is O(1) and contiguous, and list order is the reversed view. A record's
 * storage index does not change when another record is added, so it may serve as its id until a
 * record is removed.
 */
template <typename T> class FrontList {
public:
    void pushFront(T record) { m_byStorage.push_back(std::move(record)); }
    /// Adds at the end of the list order (the record becomes the last one listed).
    void pushBack(T record) { m_byStorage.insert(m_byStorage.begin(), std::move(record)); }

    /// Room for `count` records, so adding them moves none of those already held.
    void reserve(std::size_t count) { m_byStorage.reserve(count); }

    std::size_t size() const { return m_byStorage.size(); }
    bool empty() const { return m_byStorage.empty(); }
    void clear() { m_byStorage.clear(); }

    /// Zero-based position in list order.
    const T& at(std::size_t listIndex) const { return m_byStorage.at(storageIndex(listIndex)); }
    T& at(std::size_t listIndex) { return m_byStorage.at(storageIndex(listIndex)); }
    void eraseAt(std::size_t listIndex)
    {
        m_byStorage.erase(
            m_byStorage.begin() + static_cast<std::ptrdiff_t>(storageIndex(listIndex)));
    }

    /// The records in list order, for a range-for or an iterator pair.
    auto inListOrder() const
    {
        using Iterator = typename std::vector<T>::const_reverse_iterator;
        return Walk<Iterator> { m_byStorage.crbegin(), m_byStorage.crend() };
    }
    auto inListOrder()
    {
        using Iterator = typename std::vector<T>::reverse_iterator;
        return Walk<Iterator> { m_byStorage.rbegin(), m_byStorage.rend() };
    }
    /// Oldest first: the reverse of list order.
    const std::vector<T>& inStorageOrder() const { return m_byStorage; }

    bool operator==(const FrontList&) const = default;

private:
    // A plain iterator pair rather than a std::views::reverse view: clang 14 (the fuzzing build)
    // cannot compile the standard library's ranges.
    template <typename Iterator> struct Walk {
        Iterator first;
        Iterator last;
        Iterator begin() const { return first; }
        Iterator end() const { return last; }
    };

    std::size_t storageIndex(std::size_t listIndex) const
    {
        return m_byStorage.size() - 1 - listIndex;
    }
    std::vector<T> m_byStorage;
};

} // namespace tarvex::common
