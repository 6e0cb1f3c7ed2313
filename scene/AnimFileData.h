#pragma once
// The bytes of one animated mesh or animation file and its directory, for the two
// readers (N_AnimObject::Load, N_Animation::Load). Every section is checked against
// the file before a record of it is read, and records are read field by field.
#include "scene/AnimFile.h"

#include <cstdint>
#include <string>
#include <vector>

class N_AnimFileData {
 public:
  /// Reads the whole file through the file layer; false when it cannot be opened.
  bool Read(const char* path);
  /// True when the file holds the whole 160-byte directory.
  bool HasDirectory() const { return m_bytes.size() >= animfile::kDirectorySize; }
  /// Word 0 (magic) or 1 (version) of the directory; 0 without a directory.
  std::uint32_t Word(int index) const;
  /// Entry k (1-19) of the directory.
  N_AnimDirEntry Entry(int section) const;
  /// The whole records of a section, read field by field; false (out untouched) when the
  /// section does not lie inside the file.
  template <typename Record>
  bool ReadSection(int section, std::vector<Record>& out) const;

 private:
  /// First byte and number of whole records of the section; false when it runs past
  /// the end of the file.
  bool Locate(int section, std::size_t recordSize, std::size_t& offset, std::size_t& count) const;

  std::string m_bytes;
};

/// Field-by-field decoding of one record from its little-endian bytes.
void ReadRecord(const std::uint8_t* bytes, N_AnimNameRecord& out);
void ReadRecord(const std::uint8_t* bytes, N_AnimVertexRecord& out);
void ReadRecord(const std::uint8_t* bytes, std::uint16_t& out);
void ReadRecord(const std::uint8_t* bytes, N_AnimSurfaceRecord& out);
void ReadRecord(const std::uint8_t* bytes, N_AnimSkinPoint& out);
void ReadRecord(const std::uint8_t* bytes, N_AnimWeight& out);
void ReadRecord(const std::uint8_t* bytes, N_AnimBoneRecord& out);
void ReadRecord(const std::uint8_t* bytes, N_ShadowTriangle& out);
void ReadRecord(const std::uint8_t* bytes, N_AnimTrack& out);
void ReadRecord(const std::uint8_t* bytes, N_AnimKey& out);

/// Record sizes in the files (the 16-bit index is its own record).
template <typename Record>
constexpr std::size_t kAnimRecordSize = Record::kSize;
template <>
inline constexpr std::size_t kAnimRecordSize<std::uint16_t> = 2;
template <>
inline constexpr std::size_t kAnimRecordSize<N_ShadowTriangle> = 20;

template <typename Record>
bool N_AnimFileData::ReadSection(int section, std::vector<Record>& out) const {
  std::size_t offset = 0, count = 0;
  if (!Locate(section, kAnimRecordSize<Record>, offset, count)) return false;
  std::vector<Record> records(count);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_bytes.data()) + offset;
  for (std::size_t i = 0; i < count; ++i) ReadRecord(bytes + i * kAnimRecordSize<Record>, records[i]);
  out = std::move(records);
  return true;
}
