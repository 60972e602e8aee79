#pragma once
// Makes shapes side by side in shared blocks: a large drawing takes less memory and is walked in order.

#include <cstddef>
#include <memory>
#include <new>
#include <typeinfo>
#include <utility>
#include <vector>

class ShapeBlocks
{
public:
    // A new shape of class T, default-constructed. The pointer shares the ownership of T's
    // whole block rather than of T alone, which saves a counter and an allocation per shape:
    // the block, with every shape in it, lives until none of its shapes is held any more.
    template <typename T>
    std::shared_ptr<T> make()
    {
        std::shared_ptr<void> &current = currentBlock(typeid(T));
        auto *block = static_cast<Block<T> *>(current.get());
        if (!block || block->full()) {
            auto fresh = std::make_shared<Block<T>>();
            block = fresh.get();
            current = std::move(fresh);
        }
        return std::shared_ptr<T>(current, block->add());
    }

private:
    static constexpr std::size_t BlockBytes = 16 * 1024;

    template <typename T>
    class Block
    {
    public:
        Block() {} // leaves the storage as it is; every slot is constructed before it is used
        Block(const Block &) = delete;
        Block &operator=(const Block &) = delete;
        ~Block()
        {
            // Every slot holds a T itself: named, the destructor is called directly, and one with
            // nothing to do costs nothing instead of a virtual call per shape.
            while (mUsed > 0)
                slot(--mUsed)->T::~T();
        }

        bool full() const { return mUsed == Capacity; }
        T *add()
        {
            T *shape = new (mStorage + mUsed * sizeof(T)) T();
            ++mUsed;
            return shape;
        }

    private:
        static constexpr std::size_t Capacity = sizeof(T) < BlockBytes ? BlockBytes / sizeof(T) : 1;

        T *slot(std::size_t index) { return std::launder(reinterpret_cast<T *>(mStorage + index * sizeof(T))); }

        std::size_t mUsed = 0;
        alignas(T) std::byte mStorage[Capacity * sizeof(T)];
    };

    std::shared_ptr<void> &currentBlock(const std::type_info &type)
    {
        // Comparing type_infos may compare their names; their addresses tell the classes apart
        // as well, and a class that had two would only have two blocks being filled.
        for (auto &[kind, block] : mCurrent) {
            if (kind == &type)
                return block;
        }
        return mCurrent.emplace_back(&type, nullptr).second;
    }

    // The block each class is being filled into; full blocks belong to their shapes alone.
    std::vector<std::pair<const std::type_info *, std::shared_ptr<void>>> mCurrent;
};
