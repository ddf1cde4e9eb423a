// What the interface tables of the server call into.
//
// The tables themselves (interfaces.cpp) are built from the C declarations the IDL compiler
// writes, so that their slots are checked against the IDL by the compiler. That file sees the
// COM interfaces as C structures, the rest of the server as C++ classes; the two meet only
// through these functions, whose parameters are plain data.
#pragma once

#include <cstddef>

#include "velmora/dispatch.h"
#include "win32/win_api.h"

namespace velmora::com {

// The start of every interface pointer the server hands out for _Dolva or _APIs: the table,
// then the object that answers.
struct Face {
  const void* vtable;
  void* owner;
};

HRESULT FaceQueryInterface(void* face, const IID& iid, void** out);
ULONG FaceAddRef(void* face);
ULONG FaceRelease(void* face);
HRESULT FaceGetTypeInfoCount(void* face, UINT* count);
HRESULT FaceGetTypeInfo(void* face, UINT index, LCID lcid, void** info);
HRESULT FaceGetIDsOfNames(void* face, const IID& iid, LPOLESTR* names, UINT count, LCID lcid,
                          DISPID* ids);
HRESULT FaceInvoke(void* face, DISPID id, const IID& iid, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* info, UINT* arg_error);
// A call through the table: slot counts the interface's own slots from 0 (the slot order of the
// dispatch table); args[i] is the address of the i-th parameter as the caller passed it, the
// [out, retval] pointer last.
HRESULT FaceCallSlot(void* face, std::size_t slot, void* const* args, std::size_t count);

// The interface table of _Dolva or _APIs.
const void* InterfaceTable(Interface iface);
// Identifiers from the type library.
const GUID& LibraryId();
const GUID& InterfaceId(Interface iface);
const GUID& ClassId(Interface iface);

}  // namespace velmora::com
