#include "engine/shared_stuff.h"

MMSharedHolder::~MMSharedHolder()
{
    Detach();
    delete callback_;
}

void MMSharedHolder::Attach(MMSharedStuffBase* record)
{
    Detach();
    if (!record)
        return;
    record_ = record;
    ++record->holderCount_;
    next_ = record->firstHolder_;
    record->firstHolder_ = this;
}

void MMSharedHolder::Detach()
{
    MMSharedStuffBase* record = record_;
    if (!record)
        return;
    for (MMSharedHolder** link = &record->firstHolder_; *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
    record_ = nullptr;
    next_ = nullptr;
    if (--record->holderCount_ == 0)
        delete record;
}

void MMSharedHolder::AssignFrom(const MMSharedHolder& other)
{
    if (other.record_ == record_)
        return;
    Attach(other.record_);
    if (callback_)
        callback_->Invoke();
}

void MMSharedHolder::SetCallback(AFCallback* callback)
{
    if (callback == callback_)
        return;
    delete callback_;
    callback_ = callback;
}

void MMSharedStuffBase::EndChange()
{
    changing_ = false;
    for (MMSharedHolder* holder = firstHolder_; holder; holder = holder->next_) {
        if (holder->callback_)
            holder->callback_->Invoke();
    }
}
