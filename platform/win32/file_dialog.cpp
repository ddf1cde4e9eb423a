#include "win32/file_dialog.h"

// commdlg.h needs the Windows headers before it.
// clang-format off
#include "win32/win_api.h"
#include <commdlg.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "velmora/error.h"
#include "win32/unattended.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

// The runtime's filter in the system's form: descriptions and pattern lists separated by NUL
// characters, ending in two: SystemFilter(u"Fotos |*.Jpg;*.Bmp") == u"Fotos \0*.Jpg;*.Bmp\0\0".
std::u16string SystemFilter(std::u16string_view filter) {
  std::u16string out(filter);
  std::replace(out.begin(), out.end(), u'|', u'\0');
  out.push_back(u'\0');
  out.push_back(u'\0');
  return out;
}

}  // namespace

std::u16string Win32FileDialog::OpenFile(std::u16string_view title, std::u16string_view filter,
                                         std::u16string_view initial_name) {
  if (UnattendedMode()) {
    WriteStandardError(u"== " + std::u16string(title) + u" (diálogo) ==\nFiltro: " +
                       std::u16string(filter) + u"\n(desatendido, se elige: Cancelar)");
    return {};
  }
  const std::u16string title_text(title);
  const std::u16string filter_text = SystemFilter(filter);
  std::vector<wchar_t> name(32768, L'\0');
  std::copy_n(initial_name.begin(), std::min(initial_name.size(), name.size() - 1), name.begin());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = Wide(filter_text);
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrTitle = Wide(title_text);
  // The current directory is the current drive of the photo folder: the dialog leaves it alone.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (GetOpenFileNameW(&ofn)) return FromWide(name.data());
  if (CommDlgExtendedError() == 0) return {};  // cancelled
  throw Error(err::kInvalidCall, u"No fue posible mostrar el diálogo para elegir archivos");
}

}  // namespace velmora::win32
