// The one interface through which the game reaches the system it runs on.
// Everything here is implemented on top of SDL2 (desktop) or a virtual
// machine of our own (headless); game code never includes a system header.
#pragma once

#include <cstdint>

namespace plat {

// ---------------------------------------------------------------------------
// Window and input. Message numbers and key codes are those of the handheld
// the game was made for, so the event translation above can stay as it is.

enum MessageId : uint32_t {
    kMsgPaint = 0x000F,
    kMsgTimer = 0x0113,
    kMsgKeyDown = 0x0100,
    kMsgKeyUp = 0x0101,
    kMsgPenMove = 0x0200,
    kMsgPenDown = 0x0201,
    kMsgPenUp = 0x0202,
    kMsgHotKey = 0x0312,
    kMsgChar = 0x0102,       // wParam: a character typed ('a'..'z', 'A'..'Z', '0'..'9', 0x08, 0x0D, 0x1B)
    kMsgFocusLost = 0x0008,  // the window lost the keyboard; held keys were released just before
};

enum VirtualKey : uint32_t {
    kVkReturn = 0x0D,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkHardware1 = 0xC1,  // hardware buttons 0xC1..0xC4 arrive as hot keys
    kVkHardware4 = 0xC4,
};

// wParam: key code for key messages, hot-key id (= key code) for hot keys,
// timer id for timer messages. lParam: for pen messages x in the low 16 bits
// and y in the high 16 bits, panel coordinates, each signed 16-bit.
struct Message {
    uint32_t id;
    uint32_t wParam;
    uint32_t lParam;
};

// True when another copy with this class and title runs; it is brought to the
// front and this copy should end.
bool ActivateRunningInstance(const char* className, const char* title);

// Creates the one full-screen window of the 240 x 320 panel and shows it.
bool CreateMainWindow(const char* className, const char* title);

// Takes the hardware buttons 0xC1..0xC4 so that they reach GetMessage as
// hot-key messages on press and key-up messages on release.
void CaptureHardwareButtons();

// Posts a timer message with this id every periodMs milliseconds.
bool StartTimer(uint32_t timerId, uint32_t periodMs);

// The pointer shown over the window: the hunt aims with a crosshair.
enum PointerShape : uint32_t {
    kPointerArrow,
    kPointerCrosshair,
};
void SetPointer(PointerShape shape);

// Waits for the next message. False once the message queue has ended (the
// window was closed); from then on every call answers false at once.
bool GetMessage(Message& message);

// ---------------------------------------------------------------------------
// Drawing: the window shows a top-down RGB 5-6-5 buffer of the panel's size.

struct PanelSize {
    int32_t width;
    int32_t height;
};

// The window's client size in panel pixels (240 x 320).
PanelSize ClientSize();

// One copy from the off-screen buffer to the window, in panel coordinates.
struct CopyRect {
    int32_t srcX, srcY, width, height;
    int32_t dstX, dstY;
};

// Copies the rectangles of a 5-6-5 buffer to the window, in order.
void Present(const uint16_t* pixels, uint32_t pitchBytes, uint32_t width, uint32_t height,
             const CopyRect* rects, uint32_t count);

// ---------------------------------------------------------------------------
// Resources: bytes built into the program, found by type name and numeric id,
// readable for the life of the process.

struct ResourceData {
    const uint8_t* bytes;
    uint32_t size;
};

bool FindResource(const char* type, uint16_t id, ResourceData& out);

// Every resource of a type, in id order, without a trace: for a cache made
// ready at start-up. The first walk unpacks everything still packed.
void ForEachResource(const char* type, void (*visit)(uint16_t id, const ResourceData& data, void* context),
                     void* context);

// True when the pictures are packed (the browser build): unpacking them all
// then takes long enough to be worth doing after the first frame.
bool PicturesPacked();

// ---------------------------------------------------------------------------
// Time, waiting and dialogs.

// Milliseconds since start; wraps around at 2^32.
uint32_t GetTickCount();

// Blocks the calling thread; the window stays alive meanwhile.
void Sleep(uint32_t milliseconds);

enum MessageBoxFlags : uint32_t {
    kMbOk = 0x00,
    kMbIconStop = 0x10,
};

// A modal message box with one OK button. A null caption shows the default
// caption, "Error".
void MessageBox(const char* text, const char* caption, uint32_t flags);

// ---------------------------------------------------------------------------
// The runtime's random generator: the same sequence on every system.

constexpr int kRandMax = 0x7FFF;
void Srand(uint32_t seed);
int Rand();

// ---------------------------------------------------------------------------
// Trace of platform-level activity. Headless runs write each record as one
// JSON line with the virtual tick; the desktop ignores them. `fields` is the
// inside of a JSON object (e.g. "\"id\":550") or null.
void Trace(const char* event, const char* fields);

// ---------------------------------------------------------------------------
// Process entry: the platform parses the command line, sets itself up as
// desktop or headless, runs `entry` and returns the process exit status.
int RunProgram(int argc, char** argv, int (*entry)());

// True when the program was started with this long option, named with or
// without its dashes: StartOption("hunt") after `reedshot --hunt`.
bool StartOption(const char* name);

}  // namespace plat

#include "platform/audio/wave_out.h"
#include "platform/store/store.h"
