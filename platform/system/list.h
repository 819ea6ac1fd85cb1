#pragma once
// TList: an ordered list of shared objects whose walks survive changes made while they run.
//
// A walk holds the link it will visit next. Removing an element unlinks its link from the
// list but leaves the link's own successor in place, so a walk standing on a removed link
// still finds its way on; removed links carry no value and are skipped. Consequences:
//  - the element in hand may be removed and still completes its step;
//  - an element removed before the walk reaches it is skipped;
//  - an element appended during the walk is visited, unless the walk had already returned
//    the list's last element;
//  - when the list is emptied, the walk ends after the element in hand.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

template <class T>
class TList {
  struct Link {
    std::shared_ptr<T> value;          // null once removed
    std::shared_ptr<Link> succ;        // null: end of the chain
    Link* pred = nullptr;              // valid while linked
    bool linked = false;
  };
  using LinkPtr = std::shared_ptr<Link>;

public:
  using ValuePtr = std::shared_ptr<T>;

  TList() : head_(std::make_shared<Link>()) { tail_ = head_.get(); }
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  ~TList() { Clear(); }

  void AddLast(const ValuePtr& value) {
    auto link = std::make_shared<Link>();
    link->value = value;
    link->pred = tail_;
    link->linked = true;
    tail_->succ = link;
    tail_ = link.get();
    ++count_;
  }

  void AddFirst(const ValuePtr& value) {
    auto link = std::make_shared<Link>();
    link->value = value;
    link->pred = head_.get();
    link->linked = true;
    link->succ = head_->succ;
    if (link->succ) link->succ->pred = link.get(); else tail_ = link.get();
    head_->succ = link;
    ++count_;
  }

  // Removes the first element that is this very object; nothing when absent.
  bool Remove(const T* value) {
    for (Link* l = head_->succ.get(); l; l = l->succ.get()) {
      if (l->value.get() == value) { Unlink(l); return true; }
    }
    return false;
  }
  bool Remove(const ValuePtr& value) { return Remove(value.get()); }

  void Clear() {
    while (head_->succ) Unlink(head_->succ.get());
  }

  bool IsEmpty() const { return count_ == 0; }
  size_t Count() const { return count_; }

  bool Contains(const T* value) const {
    for (Link* l = head_->succ.get(); l; l = l->succ.get())
      if (l->value.get() == value) return true;
    return false;
  }

  ValuePtr First() const { return head_->succ ? head_->succ->value : nullptr; }
  ValuePtr Last() const { return tail_ != head_.get() ? tail_->value : nullptr; }

  // A snapshot of the elements in order.
  std::vector<ValuePtr> ToVector() const {
    std::vector<ValuePtr> out;
    out.reserve(count_);
    for (Link* l = head_->succ.get(); l; l = l->succ.get()) out.push_back(l->value);
    return out;
  }

  // Stable sort. With ascending false, b is placed before a where compare(a, b) < 0,
  // which is what exchanging neighbours on a negative result converges to. A merge sort,
  // so it always terminates, whatever the comparator returns.
  void Sort(bool ascending, const std::function<int(const T&, const T&)>& compare) {
    if (count_ < 2) return;
    std::vector<LinkPtr> links;
    links.reserve(count_);
    for (LinkPtr l = head_->succ; l; l = l->succ) links.push_back(l);
    auto before = [&](const LinkPtr& a, const LinkPtr& b) {  // must b go before a?
      int c = compare(*a->value, *b->value);
      return ascending ? c > 0 : c < 0;
    };
    std::vector<LinkPtr> tmp(links.size());
    for (size_t width = 1; width < links.size(); width *= 2) {
      for (size_t lo = 0; lo < links.size(); lo += 2 * width) {
        size_t mid = std::min(lo + width, links.size());
        size_t hi = std::min(lo + 2 * width, links.size());
        size_t i = lo, j = mid, k = lo;
        while (i < mid && j < hi) tmp[k++] = before(links[i], links[j]) ? links[j++] : links[i++];
        while (i < mid) tmp[k++] = links[i++];
        while (j < hi) tmp[k++] = links[j++];
      }
      links.swap(tmp);
    }
    // Relink in the new order. The links stay the same objects, so walks in progress keep
    // their place (they continue from their link's new successor).
    Link* prev = head_.get();
    for (auto& l : links) {
      prev->succ = l;
      l->pred = prev;
      prev = l.get();
    }
    prev->succ.reset();
    tail_ = prev;
  }

  class Iterator {
  public:
    Iterator() = default;
    explicit Iterator(LinkPtr next) : next_(std::move(next)) { Skip(); }
    const ValuePtr& operator*() const { return current_; }
    Iterator& operator++() { Skip(); return *this; }
    bool operator!=(const Iterator&) const { return !done_; }
  private:
    void Skip() {
      while (next_ && !next_->value) next_ = next_->succ;
      if (!next_) { done_ = true; current_.reset(); return; }
      current_ = next_->value;
      next_ = next_->succ;
    }
    LinkPtr next_;
    ValuePtr current_;
    bool done_ = false;
  };
  Iterator begin() const { return Iterator(head_->succ); }
  Iterator end() const { return Iterator(); }

private:
  void Unlink(Link* l) {
    if (!l->linked) return;
    LinkPtr keep = l->pred->succ;  // hold the link while it is cut out
    l->pred->succ = l->succ;
    if (l->succ) l->succ->pred = l->pred; else tail_ = l->pred;
    l->linked = false;
    l->value.reset();
    --count_;
  }

  LinkPtr head_;
  Link* tail_;
  size_t count_ = 0;
};

template <class T> using TListPtr = std::shared_ptr<TList<T>>;

template <class T> bool ListRemove(TList<T>& list, const T* value) { return list.Remove(value); }
template <class T> bool ListRemove(TList<T>& list, const std::shared_ptr<T>& value) { return list.Remove(value.get()); }
template <class T> void ClearList(TList<T>& list) { list.Clear(); }
template <class T> bool ListIsEmpty(const TList<T>& list) { return list.IsEmpty(); }
template <class T> int CountList(const TList<T>& list) { return static_cast<int>(list.Count()); }
template <class T> void ListAddLast(TList<T>& list, const std::shared_ptr<T>& value) { list.AddLast(value); }
template <class T>
void SortList(TList<T>& list, bool ascending, const std::function<int(const T&, const T&)>& compare) {
  list.Sort(ascending, compare);
}
