#include "win32/ole_picture_loader.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "velmora/error.h"
#include "win32/ole_picture.h"
#include "win32/wide.h"
#include "win32/win_api.h"

namespace velmora::win32 {

ObjectRef OlePictureLoader::Load(const std::u16string& path) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Error(err::kInvalidPicture);
  std::vector<char> bytes;
  std::array<char, 65536> chunk{};
  DWORD got = 0;
  while (ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) && got > 0)
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
  CloseHandle(file);
  if (bytes.empty()) throw Error(err::kInvalidPicture);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr) throw std::bad_alloc();
  void* p = GlobalLock(memory);
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(p));
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    throw std::bad_alloc();
  }
  IPictureDisp* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE,
                                    IID_IPictureDisp, reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || picture == nullptr) throw Error(err::kInvalidPicture);
  return std::make_shared<OlePicture>(picture);
}

}  // namespace velmora::win32
