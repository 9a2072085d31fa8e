#include "core/result_texts.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace vxl {
namespace {

struct ResultText {
    uint32_t code;
    const char* text;
};

constexpr const char* kUnrecognized = "Unrecognized Error";

// Surface-service codes live in facility 0x876; callers see them as the full HRESULT.
constexpr uint32_t Dd(uint32_t offset) {
    return 0x88760000u + offset;
}

// Sorted by code as unsigned; lookups are a binary search, so order matters.
constexpr std::array<ResultText, 108> kDirectDrawTexts{{
    {0x00000000u, "The request completed successfully."},                                  // DD_OK
    {0x80004001u, "The requested operation is not supported or not implemented."},         // DDERR_UNSUPPORTED
    {0x80004005u, "Generic failure."},                                                     // DDERR_GENERIC
    {0x8007000Eu, "DirectDraw does not have enough memory to perform the operation."},     // DDERR_OUTOFMEMORY
    {0x80070057u, "One or more of the parameters passed to the function are incorrect."},  // DDERR_INVALIDPARAMS
    {Dd(5), "The object has already been initialized."},                                   // DDERR_ALREADYINITIALIZED
    {Dd(10), "The surface could not be attached to the requested surface."},               // DDERR_CANNOTATTACHSURFACE
    {Dd(20), "The surface could not be detached from the requested surface."},             // DDERR_CANNOTDETACHSURFACE
    {Dd(40), "The requested support is not available at this time."},                      // DDERR_CURRENTLYNOTAVAIL
    {Dd(55), "An exception occurred while carrying out the request."},                     // DDERR_EXCEPTION
    {Dd(90), "The rectangle height is not aligned as the hardware requires."},             // DDERR_HEIGHTALIGN
    {Dd(95), "The surface format does not match the primary surface."},                    // DDERR_INCOMPATIBLEPRIMARY
    {Dd(100), "One or more of the capability flags given are not valid."},                 // DDERR_INVALIDCAPS
    {Dd(110), "The clip list given is not valid."},                                        // DDERR_INVALIDCLIPLIST
    {Dd(120), "DirectDraw does not support the requested mode."},                          // DDERR_INVALIDMODE
    {Dd(130), "The object passed in is not a valid DirectDraw object."},                   // DDERR_INVALIDOBJECT
    {Dd(145), "The pixel format given is not valid."},                                     // DDERR_INVALIDPIXELFORMAT
    {Dd(150), "The rectangle given is not valid."},                                        // DDERR_INVALIDRECT
    {Dd(160), "The operation cannot proceed while one or more surfaces are locked."},      // DDERR_LOCKEDSURFACES
    {Dd(170), "No 3D hardware or emulation is present."},                                  // DDERR_NO3D
    {Dd(180), "No alpha acceleration hardware is present."},                               // DDERR_NOALPHAHW
    {Dd(205), "No clip list is available."},                                               // DDERR_NOCLIPLIST
    {Dd(210), "No hardware is present to convert colour formats."},                        // DDERR_NOCOLORCONVHW
    {Dd(212), "The cooperative level has not been set yet."},                           // DDERR_NOCOOPERATIVELEVELSET
    {Dd(215), "The surface has no colour key."},                                        // DDERR_NOCOLORKEY
    {Dd(220), "No hardware support for colour keys is present."},                       // DDERR_NOCOLORKEYHW
    {Dd(225), "The operation requires exclusive mode, which has not been granted."},    // DDERR_NOEXCLUSIVEMODE
    {Dd(230), "Flipping visible surfaces is not supported by the hardware."},           // DDERR_NOFLIPHW
    {Dd(240), "No GDI is present."},                                                    // DDERR_NOGDI
    {Dd(250), "No mirroring hardware is present."},                                     // DDERR_NOMIRRORHW
    {Dd(255), "The requested item could not be found."},                                // DDERR_NOTFOUND
    {Dd(260), "No overlay hardware is present."},                                       // DDERR_NOOVERLAYHW
    {Dd(270), "The source and destination rectangles overlap, which is not allowed."},  // DDERR_OVERLAPPINGRECTS
    {Dd(280), "No hardware support for raster operations is present."},                 // DDERR_NORASTEROPHW
    {Dd(290), "No rotation hardware is present."},                                      // DDERR_NOROTATIONHW
    {Dd(310), "No hardware support for stretching is present."},                        // DDERR_NOSTRETCHHW
    {Dd(316), "The operation needs a 4-bit palettized surface."},                       // DDERR_NOT4BITCOLOR
    {Dd(317), "The operation needs a 4-bit surface indexing an 8-bit palette."},        // DDERR_NOT4BITCOLORINDEX
    {Dd(320), "The operation needs an 8-bit palettized surface."},                      // DDERR_NOT8BITCOLOR
    {Dd(330), "No texture mapping hardware is present."},                               // DDERR_NOTEXTUREHW
    {Dd(335), "No hardware support for vertical blank synchronization is present."},    // DDERR_NOVSYNCHW
    {Dd(340), "No depth buffer hardware is present."},                                  // DDERR_NOZBUFFERHW
    {Dd(350), "The hardware cannot order overlays by depth."},                          // DDERR_NOZOVERLAYHW
    {Dd(360), "The hardware resources needed for this operation are already in use."},  // DDERR_OUTOFCAPS
    {Dd(380), "DirectDraw does not have enough memory to perform the operation."},      // DDERR_OUTOFVIDEOMEMORY
    {Dd(382), "The hardware cannot clip an overlay."},                                  // DDERR_OVERLAYCANTCLIP
    {Dd(384), "Only one colour key can be active on an overlay at a time."},  // DDERR_OVERLAYCOLORKEYONLYONEACTIVE
    {Dd(387), "The palette is locked by another thread."},                    // DDERR_PALETTEBUSY
    {Dd(400), "No source colour key has been set."},                          // DDERR_COLORKEYNOTSET
    {Dd(410), "The surface is already attached to the target surface."},      // DDERR_SURFACEALREADYATTACHED
    {Dd(420), "The surface already depends on the target surface."},          // DDERR_SURFACEALREADYDEPENDENT
    // DDERR_SURFACEBUSY
    {Dd(430), "Access to this surface is being refused because the surface is already locked by another thread."},
    {Dd(440), "The surface is hidden behind other windows, so access is refused."},  // DDERR_SURFACEISOBSCURED
    {Dd(450), "The surface memory has been lost and must be restored."},             // DDERR_SURFACELOST
    {Dd(460), "The surface is not attached to the given surface."},                  // DDERR_SURFACENOTATTACHED
    {Dd(470), "The requested height is larger than supported."},                     // DDERR_TOOBIGHEIGHT
    {Dd(480), "The requested size is larger than supported."},                       // DDERR_TOOBIGSIZE
    {Dd(490), "The requested width is larger than supported."},                      // DDERR_TOOBIGWIDTH
    {Dd(510), "The pixel format requested is not supported."},                       // DDERR_UNSUPPORTEDFORMAT
    {Dd(520), "The colour bit mask requested is not supported."},                    // DDERR_UNSUPPORTEDMASK
    {Dd(521), "The given stream is not valid."},                                     // DDERR_INVALIDSTREAM
    {Dd(537), "A vertical blank is in progress."},                                   // DDERR_VERTICALBLANKINPROGRESS
    {Dd(540),
     "Informs DirectDraw that the previous Blt which is transfering information to or from this Surface "
     "is incomplete."},                                                                         // DDERR_WASSTILLDRAWING
    {Dd(560), "The rectangle's horizontal position is not aligned as the hardware requires."},  // DDERR_XALIGN
    {Dd(561), "The GUID given does not name a DirectDraw driver."},                // DDERR_INVALIDDIRECTDRAWGUID
    {Dd(562), "A DirectDraw object already exists for this process and driver."},  // DDERR_DIRECTDRAWALREADYCREATED
    {Dd(563), "No hardware DirectDraw driver is available."},                      // DDERR_NODIRECTDRAWHW
    {Dd(564), "A primary surface has already been created."},                      // DDERR_PRIMARYSURFACEALREADYEXISTS
    {Dd(565), "Software emulation is not available."},                             // DDERR_NOEMULATION
    {Dd(566), "The region given to the clipper is too small."},                    // DDERR_REGIONTOOSMALL
    {Dd(567), "The clipper follows a window, so its clip list cannot be set directly."},   // DDERR_CLIPPERISUSINGHWND
    {Dd(568), "No clipper is attached to the surface."},                                   // DDERR_NOCLIPPERATTACHED
    {Dd(569), "No window handle has been set for the clipper or cooperative level."},      // DDERR_NOHWND
    {Dd(570), "The window has been subclassed, so DirectDraw cannot restore its state."},  // DDERR_HWNDSUBCLASSED
    {Dd(571), "The window handle cannot be changed once it has been set."},                // DDERR_HWNDALREADYSET
    {Dd(572), "No palette is attached to the surface."},                                   // DDERR_NOPALETTEATTACHED
    {Dd(573), "No hardware support for 16 or 256 colour palettes is present."},            // DDERR_NOPALETTEHW
    {Dd(574), "A fast blit cannot be clipped; the destination has a clipper attached."},   // DDERR_BLTFASTCANTCLIP
    {Dd(575), "No blitting hardware is present."},                                         // DDERR_NOBLTHW
    {Dd(576), "No hardware support for DirectDraw raster operations is present."},         // DDERR_NODDROPSHW
    {Dd(577), "The overlay is hidden, so its position cannot be read."},                   // DDERR_OVERLAYNOTVISIBLE
    {Dd(578), "The overlay has no destination surface yet."},                              // DDERR_NOOVERLAYDEST
    {Dd(579), "The overlay position given is not valid."},                                 // DDERR_INVALIDPOSITION
    {Dd(580), "The surface is not an overlay."},                                           // DDERR_NOTAOVERLAYSURFACE
    {Dd(581), "Another application already holds exclusive mode."},              // DDERR_EXCLUSIVEMODEALREADYSET
    {Dd(582), "The surface is not part of a flipping chain."},                   // DDERR_NOTFLIPPABLE
    {Dd(583), "Primary and implicitly created surfaces cannot be duplicated."},  // DDERR_CANTDUPLICATE
    {Dd(584), "The surface is not locked, so it cannot be unlocked."},           // DDERR_NOTLOCKED
    {Dd(585), "Windows can not create any more DCs."},                           // DDERR_CANTCREATEDC
    {Dd(586), "The surface has no device context to release."},                  // DDERR_NODC
    {Dd(587), "The surface was created in another display mode and cannot be restored."},  // DDERR_WRONGMODE
    {Dd(588), "The surface was created implicitly and cannot be restored on its own."},    // DDERR_IMPLICITLYCREATED
    {Dd(589), "The surface is not palettized."},                                           // DDERR_NOTPALETTIZED
    {Dd(590), "The display does not currently support this mode."},                        // DDERR_UNSUPPORTEDMODE
    {Dd(591), "No mipmap texture hardware is present."},                                   // DDERR_NOMIPMAPHW
    {Dd(592), "The surface type is not valid for this operation."},                        // DDERR_INVALIDSURFACETYPE
    {Dd(600), "No hardware support for optimized surfaces is present."},                   // DDERR_NOOPTIMIZEHW
    {Dd(601), "The optimized surface has not had any data loaded yet."},                   // DDERR_NOTLOADED
    {Dd(602), "Exclusive mode needs a focus window, and none was given."},                 // DDERR_NOFOCUSWINDOW
    // DDERR_DCALREADYCREATED
    {Dd(620), "A DC has already been returned for this surface. Only one DC can be retrieved per surface."},
    {Dd(630), "Non-local video memory is not supported by the device."},          // DDERR_NONONLOCALVIDMEM
    {Dd(640), "The surface memory could not be page-locked."},                    // DDERR_CANTPAGELOCK
    {Dd(660), "The surface memory could not be page-unlocked."},                  // DDERR_CANTPAGEUNLOCK
    {Dd(680), "The surface is not page-locked, so it cannot be page-unlocked."},  // DDERR_NOTPAGELOCKED
    {Dd(690), "More data is available than the buffer given can hold."},          // DDERR_MOREDATA
    {Dd(691), "The data has expired and is no longer valid."},                    // DDERR_EXPIRED
    {Dd(695), "The video port is not active."},                                   // DDERR_VIDEONOTACTIVE
    {Dd(699), "The surface belongs to another device and cannot be used here."},  // DDERR_DEVICEDOESNTOWNSURFACE
}};
static_assert(kDirectDrawTexts.size() == 108);

// Input codes reuse COM and Win32 numbers; several DIERR names share one value, so the row names them all.
constexpr std::array<ResultText, 39> kDirectInputTexts{{
    {0x00000000u, "The operation completed successfully."},                                   // DI_OK
    {0x00000001u, "The call succeeded but had nothing to do, or buffered data overflowed."},  // DI_NOTATTACHED et al.
    {0x00000002u, "The device must be polled to obtain its data."},                           // DI_POLLEDDEVICE
    {0x00000003u, "The effect parameters were set but the effect was not downloaded."},       // DI_DOWNLOADSKIPPED
    {0x00000004u, "The effect was stopped and restarted to apply the new parameters."},       // DI_EFFECTRESTARTED
    {0x00000008u, "Some parameters were beyond the device's range and were clipped."},        // DI_TRUNCATED
    {0x0000000Bu, "The action map settings could not be saved."},                             // DI_SETTINGSNOTSAVED
    {0x0000000Cu, "Parameters were clipped and the effect was restarted to apply them."},  // DI_TRUNCATEDANDRESTARTED
    {0x80004001u, "The requested function is not supported."},                             // DIERR_UNSUPPORTED
    {0x80004002u, "The requested interface is not supported by the object."},              // DIERR_NOINTERFACE
    {0x80004003u, "A pointer passed to the function is not valid."},                       // E_POINTER
    {0x80004005u, "An undetermined error occurred inside the input system."},              // DIERR_GENERIC
    {0x80040110u, "The object does not support aggregation."},                             // DIERR_NOAGGREGATION
    {0x80040154u, "The device or class is not registered."},                               // DIERR_DEVICENOTREG
    {0x80040201u, "The device has no room left for another effect."},                      // DIERR_DEVICEFULL
    {0x80040202u, "Not all of the requested data fitted in the buffer given."},            // DIERR_MOREDATA
    {0x80040203u, "The effect has not been downloaded to the device."},                    // DIERR_NOTDOWNLOADED
    {0x80040204u, "The device still has effects attached and cannot be reset."},           // DIERR_HASEFFECTS
    {0x80040205u, "The operation needs the device to be acquired exclusively."},           // DIERR_NOTEXCLUSIVEACQUIRED
    {0x80040206u, "The effect cannot be downloaded because parameters are missing."},      // DIERR_INCOMPLETEEFFECT
    {0x80040207u, "The device is not set up for buffered data."},                          // DIERR_NOTBUFFERED
    {0x80040208u, "Parameters cannot be changed while the effect is playing."},            // DIERR_EFFECTPLAYING
    {0x80040209u, "The device has been unplugged."},                                       // DIERR_UNPLUGGED
    {0x8004020Au, "No more reports can be added to the device's output report."},          // DIERR_REPORTFULL
    {0x8004020Bu, "A device configuration file could not be read or written."},            // DIERR_MAPFILEFAIL
    // DIERR_NOTFOUND, DIERR_OBJECTNOTFOUND
    {0x80070002u, "The requested object or device could not be found."},
    // DIERR_OTHERAPPHASPRIO, DIERR_READONLY, DIERR_HANDLEEXISTS
    {0x80070005u, "Access is denied; another application may hold priority or the value is read-only."},
    {0x80070006u, "The HWND parameter is not a valid top-level window that belongs to the process."},  // E_HANDLE
    {0x80070007u, "Internal memory control structures have been damaged."},             // ERROR_ARENA_TRASHED
    {0x8007000Cu, "The device must be acquired before this operation."},                // DIERR_NOTACQUIRED
    {0x8007000Eu, "There is not enough memory to complete the operation."},             // DIERR_OUTOFMEMORY
    {0x80070015u, "The object has not been initialized."},                              // DIERR_NOTINITIALIZED
    {0x8007001Eu, "Access to the input device has been lost. It must be reacquired."},  // DIERR_INPUTLOST
    {0x80070057u, "A parameter passed to the function is not valid."},                  // DIERR_INVALIDPARAM
    {0x80070077u, "The device driver is not compatible with this version of the input system."},  // DIERR_BADDRIVERVER
    {0x800700AAu, "The operation cannot be done while the device is acquired."},                  // DIERR_ACQUIRED
    {0x8007047Eu, "The application needs a newer version of the input system."},  // DIERR_OLDDIRECTINPUTVERSION
    // DIERR_BETADIRECTINPUTVERSION
    {0x80070481u, "The application was built for a pre-release version of the input system."},
    {0x800704DFu, "The object has already been initialized."},  // DIERR_ALREADYINITIALIZED
}};
static_assert(kDirectInputTexts.size() == 39);

template <std::size_t N>
constexpr bool IsStrictlyAscending(const std::array<ResultText, N>& table) {
    for (std::size_t i = 1; i < N; ++i) {
        if (table[i - 1].code >= table[i].code) {
            return false;
        }
    }
    return true;
}
static_assert(IsStrictlyAscending(kDirectDrawTexts));
static_assert(IsStrictlyAscending(kDirectInputTexts));

template <std::size_t N>
const char* Find(const std::array<ResultText, N>& table, uint32_t code) {
    const auto it = std::lower_bound(table.begin(), table.end(), code,
                                     [](const ResultText& row, uint32_t value) { return row.code < value; });
    return (it != table.end() && it->code == code) ? it->text : kUnrecognized;
}

}  // namespace

const char* DirectDrawResultText(uint32_t code) {
    return Find(kDirectDrawTexts, code);
}

const char* DirectInputResultText(uint32_t code) {
    return Find(kDirectInputTexts, code);
}

}  // namespace vxl
