// The replay file (.kvr): a small binary file a player can share.
#pragma once

#include <string>

#include "save/Replay.h"

// Layout, every number little-endian:
//   magic           4 bytes  "KVR" 0x1A
//   format version  u16
//   game version    u8 length, then that many printable ASCII bytes
//   seed            u32
//   seed kind       u8       SeedKind
//   start tick      u32      the recorded game's first tick
//   score           u32      the recorded game's final score
//   tick count      u32
//   speed           u8       per cent; only from format version 2 on
//   input runs      varint count, then per run varint(length << 4 | bits)
//   actions         varint count, then per action
//                   varint(ticks since the previous action << 2 | action)
//   checksum        u32      CRC-32 of every byte before it
// Varints are LEB128: seven bits a byte, low bits first, no padding bytes.
// A file is written in the replay's own format version, so a version 1 file
// read and written again keeps every byte.
namespace replay_file {

constexpr const char* kExtension = ".kvr";
// Refused unread: no real replay comes near it.
constexpr std::size_t kMaxFileSize = 16u << 20;

// The file's bytes for a replay with no Problem().
std::string Encode(const Replay& replay);

// Reads a whole file's bytes into `replay`. False, with what is wrong in a
// few words in `what`, when they are truncated, have the wrong magic, a
// newer format version, a failed checksum or impossible values; `replay` is
// then unchanged. Any bytes at all are safe to hand in.
bool Decode(const std::string& bytes, Replay& replay, std::string& what);

// Encode, written atomically to `path`. False with a one-line reason.
bool Write(const std::string& path, const Replay& replay, std::string& error);

// Decode of the file at `path`. False with one line naming the file and what
// is wrong with it ("replays/x.kvr: bad checksum").
bool Read(const std::string& path, Replay& replay, std::string& error);

}  // namespace replay_file
