// The window classes and control identifiers of the library's Win32 windows. A host that drives
// the windows (an automated test, an accessibility tool) finds a window by its class name and
// its controls with GetDlgItem.
#pragma once

namespace velmora::win32ui {

// Window classes, named after the forms.
inline constexpr const wchar_t* kPcInfoClass = L"FrmPCInfo";
inline constexpr const wchar_t* kSplashClass = L"frmSplashSys";
inline constexpr const wchar_t* kCaptureClass = L"FrmTomaFoto";

namespace ids {

// FrmPCInfo
inline constexpr int kPcGrid = 100;   // Grid: list-view, 13 rows x 2 columns
inline constexpr int kPcExit = 101;   // CmdSalir "&Finalizar"
inline constexpr int kPcMouse = 102;  // LblMouse
// The groups of labels and the bar of the memory (0), drive C (1) and drive D (2).
enum GroupItem { kTotal = 0, kUsedPercent, kFreePercent, kUsed, kFree, kBar };
constexpr int PcGroup(int group, GroupItem item) { return 110 + 10 * group + item; }

// frmSplashSys
inline constexpr int kSplashGrid = 200;             // Grid1: list-view, 14 rows x 2 columns
inline constexpr int kSplashExit = 201;             // Cmd01 "&Salir"
inline constexpr int kSplashDiskPercent = 202;      // Label4
inline constexpr int kSplashDiskBar = 203;          // Shape1
inline constexpr int kSplashMemoryFree = 204;       // lblInfo(6)
inline constexpr int kSplashInfoFrame = 205;        // fraInfo
constexpr int SplashBar(int i) { return 210 + i; }  // shpBar(i), i in 1..3

// FrmTomaFoto
inline constexpr int kPhotoPanel = 300;  // Frame3, the selection panel
inline constexpr int kOption1 = 301;     // "Desde la Web Cam"
inline constexpr int kOption2 = 302;     // "Desde un Archivo"
inline constexpr int kCmdFoto = 303;     // "Tomar Fotografía ..."
inline constexpr int kCommand1 = 304;    // "Click"
inline constexpr int kCommand2 = 305;    // "Guardar"
inline constexpr int kCommand3 = 306;    // "Limpiar"
inline constexpr int kText1 = 307;       // the name
inline constexpr int kLabel1 = 308;      // the folder
inline constexpr int kLabel2 = 309;      // the status line
inline constexpr int kImageTake = 310;   // the live image
inline constexpr int kImage1 = 311;      // the captured still

}  // namespace ids

}  // namespace velmora::win32ui
