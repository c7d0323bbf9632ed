// Helpers for GameApp's owning pointers and slot arrays.
#pragma once

// Deletes whatever a slot holds, alive or not, and puts `fresh` in its place.
template <typename T>
void Replace(T*& slot, T* fresh) {
    delete slot;
    slot = fresh;
}

// Empties every slot of an array.
template <typename T, int N>
void DeleteAll(T* (&slots)[N]) {
    for (T*& slot : slots) Replace(slot, static_cast<T*>(nullptr));
}
