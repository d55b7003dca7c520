#include "engine/command.h"

#include "engine/run_queue.h"

MMCommand::MMCommand(const char* name, MMStage* stage, int16_t priority)
    : MMQueuedTask(name, stage), priority_(priority)
{
    if (!name || !name[0])
        SetName(nullptr, "some command");
}

bool MMCommand::Execute()
{
    Perform();
    delete this;
    return false;
}

bool MMCommand::Post()
{
    MMRunQueue* queue = Queue();
    if (!queue)
        return false;
    MMCommand* copy = Clone();
    if (!copy)
        return false;
    queue->Enqueue(copy, priority_);
    return true;
}

MMCommandSet::~MMCommandSet() { Clear(); }

void MMCommandSet::Add(int32_t key, MMCommand* command) { items_.push_back(Item{key, command}); }

void MMCommandSet::Remove(int32_t key)
{
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->key == key) {
            delete it->command;
            items_.erase(it);
            return;
        }
    }
}

bool MMCommandSet::Replace(int32_t key, MMCommand* command)
{
    for (Item& item : items_) {
        if (item.key == key) {
            if (item.command != command)
                delete item.command;
            item.command = command;
            return true;
        }
    }
    // Not stored: the command stays the caller's.
    return false;
}

MMCommand* MMCommandSet::Find(int32_t key) const
{
    for (const Item& item : items_) {
        if (item.key == key)
            return item.command;
    }
    return nullptr;
}

bool MMCommandSet::Post(int32_t key) const
{
    MMCommand* command = Find(key);
    return command && command->Post();
}

void MMCommandSet::Clear()
{
    std::vector<Item> items;
    items.swap(items_);
    for (Item& item : items)
        delete item.command;
}
