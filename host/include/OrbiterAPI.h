// The simulator's global interface as the plug-ins see it: basic types, handles,
// constants and the oapi* functions. Spelling, argument order and defaults follow
// the simulator's own interface so that plug-in code reads as it would there.
#pragma once

#include <cmath>
#include <cstdint>

#include "windows.h"

#define OAPIFUNC __attribute__((visibility("default")))
#define DLLCLBK extern "C" __attribute__((visibility("default")))

// ---------------------------------------------------------------- basic types

typedef union {
    double data[3];
    struct {
        double x, y, z;
    };
} VECTOR3;

typedef union {
    double data[9];
    struct {
        double m11, m12, m13, m21, m22, m23, m31, m32, m33;
    };
} MATRIX3;

typedef struct {
    float r, g, b, a;
} COLOUR4;

inline VECTOR3 _V(double x, double y, double z) {
    VECTOR3 v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}
inline VECTOR3 operator+(const VECTOR3& a, const VECTOR3& b) {
    return _V(a.x + b.x, a.y + b.y, a.z + b.z);
}
inline VECTOR3 operator-(const VECTOR3& a, const VECTOR3& b) {
    return _V(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline VECTOR3 operator-(const VECTOR3& a) {
    return _V(-a.x, -a.y, -a.z);
}
inline VECTOR3 operator*(const VECTOR3& a, double f) {
    return _V(a.x * f, a.y * f, a.z * f);
}
inline VECTOR3 operator/(const VECTOR3& a, double f) {
    return _V(a.x / f, a.y / f, a.z / f);
}
inline VECTOR3& operator+=(VECTOR3& a, const VECTOR3& b) {
    a.x += b.x;
    a.y += b.y;
    a.z += b.z;
    return a;
}
inline VECTOR3& operator-=(VECTOR3& a, const VECTOR3& b) {
    a.x -= b.x;
    a.y -= b.y;
    a.z -= b.z;
    return a;
}
inline double dotp(const VECTOR3& a, const VECTOR3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline VECTOR3 crossp(const VECTOR3& a, const VECTOR3& b) {
    return _V(a.y * b.z - b.y * a.z, a.z * b.x - b.z * a.x, a.x * b.y - b.x * a.y);
}
inline double length(const VECTOR3& a) {
    return std::sqrt(dotp(a, a));
}
inline VECTOR3 unit(const VECTOR3& a) {
    return a / length(a);
}
inline MATRIX3 _M(double m11, double m12, double m13, double m21, double m22, double m23, double m31, double m32,
                  double m33) {
    MATRIX3 m;
    m.m11 = m11, m.m12 = m12, m.m13 = m13;
    m.m21 = m21, m.m22 = m22, m.m23 = m23;
    m.m31 = m31, m.m32 = m32, m.m33 = m33;
    return m;
}
// Matrix times vector, and transposed matrix times vector.
inline VECTOR3 mul(const MATRIX3& A, const VECTOR3& b) {
    return _V(A.m11 * b.x + A.m12 * b.y + A.m13 * b.z, A.m21 * b.x + A.m22 * b.y + A.m23 * b.z,
              A.m31 * b.x + A.m32 * b.y + A.m33 * b.z);
}
inline VECTOR3 tmul(const MATRIX3& A, const VECTOR3& b) {
    return _V(A.m11 * b.x + A.m21 * b.y + A.m31 * b.z, A.m12 * b.x + A.m22 * b.y + A.m32 * b.z,
              A.m13 * b.x + A.m23 * b.y + A.m33 * b.z);
}

const double PI = 3.14159265358979323846;
const double PI05 = 1.57079632679489661923;
const double PI2 = 6.28318530717958647693;
const double RAD = PI / 180.0;
const double DEG = 180.0 / PI;

// A build date as the compiler writes it ("Aug 30 2010") turned into a number
// that grows with the date (20100830); 0 for text that is not such a date.
inline int Date2Int(const char* date) {
    static const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!date)
        return 0;
    int month = 0;
    for (int m = 0; m < 12; ++m)
        if (date[0] == months[m][0] && date[1] == months[m][1] && date[2] == months[m][2])
            month = m + 1;
    if (month == 0 || date[3] != ' ')
        return 0;
    int day = 0, year = 0, i = 4;
    while (date[i] == ' ')
        ++i;
    while (date[i] >= '0' && date[i] <= '9')
        day = day * 10 + (date[i++] - '0');
    while (date[i] == ' ')
        ++i;
    while (date[i] >= '0' && date[i] <= '9')
        year = year * 10 + (date[i++] - '0');
    if (day < 1 || day > 31 || year == 0)
        return 0;
    return year * 10000 + month * 100 + day;
}

// ---------------------------------------------------------------- handles

typedef struct HostObject* OBJHANDLE;  // a vessel or a celestial body
typedef struct HostThruster* THRUSTER_HANDLE;
typedef struct HostPropellant* PROPELLANT_HANDLE;
typedef struct HostThrusterGroup* THGROUP_HANDLE;
typedef struct HostMesh* MESHHANDLE;
typedef struct HostSurface* SURFHANDLE;
typedef struct HostNote* NOTEHANDLE;
typedef struct HostFile* FILEHANDLE;
typedef struct HostStream* PSTREAM_HANDLE;
typedef struct HostAnimComponent* ANIMATIONCOMPONENT_HANDLE;

class VESSEL;

// ---------------------------------------------------------------- vessel state

typedef struct {
    double a;       // semi-major axis [m]
    double e;       // eccentricity
    double i;       // inclination [rad]
    double theta;   // longitude of ascending node [rad]
    double omegab;  // longitude of periapsis [rad]
    double L;       // mean longitude at epoch [rad]
} ELEMENTS;

typedef struct {
    double SMi;  // semi-minor axis [m]
    double PeD;  // periapsis distance [m]
    double ApD;  // apoapsis distance [m]
    double MnA;  // mean anomaly [rad]
    double TrA;  // true anomaly [rad]
    double MnL;  // mean longitude [rad]
    double TrL;  // true longitude [rad]
    double EcA;  // eccentric anomaly [rad]
    double Lec;  // linear eccentricity [m]
    double T;    // orbit period [s]
    double PeT;  // time to next periapsis passage [s]
    double ApT;  // time to next apoapsis passage [s]
} ORBITPARAM;

enum { FRAME_ECL = 0, FRAME_EQU = 1 };

// Legacy state record (version 1).
typedef struct {
    VECTOR3 rpos, rvel, vrot, arot;
    double fuel, eng_main, eng_hovr;
    OBJHANDLE rbody, base;
    int port;
    int status;  // 0 free flight, 1 landed
    VECTOR3 vdata[10];
    double fdata[10];
    DWORD flag[10];
} VESSELSTATUS;

// State record version 2: the one the launchers read and hand back.
typedef struct {
    DWORD version;  // must be 2
    DWORD flag;     // VS_* bits telling which optional lists are present
    OBJHANDLE rbody;
    OBJHANDLE base;
    int port;
    int status;                           // 0 free flight, 1 landed
    VECTOR3 rpos;                         // position relative to rbody, global frame [m]
    VECTOR3 rvel;                         // velocity relative to rbody, global frame [m/s]
    VECTOR3 vrot;                         // angular velocity in vessel frame [rad/s]
    VECTOR3 arot;                         // orientation (alpha, beta, gamma) vessel -> global [rad]
    double surf_lng, surf_lat, surf_hdg;  // landed position and heading [rad]
    DWORD nfuel;
    struct FUELSPEC {
        DWORD idx;
        double level;
    } * fuel;
    DWORD nthruster;
    struct THRUSTSPEC {
        DWORD idx;
        double level;
    } * thruster;
    DWORD ndockinfo;
    struct DOCKINFOSPEC {
        DWORD idx;
        DWORD ridx;
        OBJHANDLE rvessel;
    } * dockinfo;
    DWORD xpdr;
} VESSELSTATUS2;

#define VS_FUELRESET 0x00000001
#define VS_FUELLIST 0x00000002
#define VS_THRUSTRESET 0x00000004
#define VS_THRUSTLIST 0x00000008
#define VS_DOCKINFOLIST 0x00000010

// ---------------------------------------------------------------- propulsion

enum THGROUP_TYPE {
    THGROUP_MAIN = 0,
    THGROUP_RETRO = 1,
    THGROUP_HOVER = 2,
    THGROUP_ATT_PITCHUP = 3,
    THGROUP_ATT_PITCHDOWN = 4,
    THGROUP_ATT_YAWLEFT = 5,
    THGROUP_ATT_YAWRIGHT = 6,
    THGROUP_ATT_BANKLEFT = 7,
    THGROUP_ATT_BANKRIGHT = 8,
    THGROUP_ATT_RIGHT = 9,
    THGROUP_ATT_LEFT = 10,
    THGROUP_ATT_UP = 11,
    THGROUP_ATT_DOWN = 12,
    THGROUP_ATT_FORWARD = 13,
    THGROUP_ATT_BACK = 14,
    THGROUP_USER = 0x40
};

#define NAVMODE_KILLROT 1
#define NAVMODE_HLEVEL 2
#define NAVMODE_PROGRADE 3
#define NAVMODE_RETROGRADE 4
#define NAVMODE_NORMAL 5
#define NAVMODE_ANTINORMAL 6
#define NAVMODE_HOLDALT 7

// ---------------------------------------------------------------- visual effects

typedef struct {
    DWORD flags;
    double srcsize;      // particle size at creation [m]
    double srcrate;      // creation rate [Hz]
    double v0;           // emission speed [m/s]
    double srcspread;    // velocity spread
    double lifetime;     // particle lifetime [s]
    double growthrate;   // growth [m/s]
    double atmslowdown;  // slow-down in atmosphere
    enum LTYPE { EMISSIVE, DIFFUSE } ltype;
    enum LEVELMAP { LVL_FLAT, LVL_LIN, LVL_SQRT, LVL_PLIN, LVL_PSQRT } levelmap;
    double lmin, lmax;
    enum ATMSMAP { ATM_FLAT, ATM_PLIN, ATM_PLOG } atmsmap;
    double amin, amax;
    SURFHANDLE tex;
} PARTICLESTREAMSPEC;

#define BEACONSHAPE_COMPACT 0
#define BEACONSHAPE_DIFFUSE 1
#define BEACONSHAPE_STAR 2

typedef struct {
    DWORD shape;
    VECTOR3* pos;
    VECTOR3* col;
    double size;
    double falloff;
    double period;
    double duration;
    double tofs;
    bool active;
} BEACONLIGHTSPEC;

#define MESHVIS_NEVER 0x00
#define MESHVIS_EXTERNAL 0x01
#define MESHVIS_COCKPIT 0x02
#define MESHVIS_ALWAYS (MESHVIS_EXTERNAL | MESHVIS_COCKPIT)
#define MESHVIS_VC 0x04
#define MESHVIS_EXTPASS 0x10

// ---------------------------------------------------------------- files

enum FileAccessMode { FILE_IN, FILE_OUT, FILE_APP, FILE_IN_ZEROONFAIL };
enum PathRoot { ROOT, CONFIG, SCENARIOS, TEXTURES, TEXTURES2, MESHES, MODULES };

// ---------------------------------------------------------------- interface

#define HUD_NONE 0
#define HUD_ORBIT 1
#define HUD_SURFACE 2
#define HUD_DOCKING 3

#define MFD_LEFT 0
#define MFD_RIGHT 1

#define CAM_TARGETRELATIVE 0
#define CAM_ABSDIRECTION 1
#define CAM_GLOBALFRAME 2
#define CAM_TARGETTOOBJECT 3
#define CAM_TARGETFROMOBJECT 4
#define CAM_GROUNDOBSERVER 5

// Keyboard scan codes as the simulator delivers them to clbkConsumeBufferedKey.
#define OAPI_KEY_ESCAPE 0x01
#define OAPI_KEY_1 0x02
#define OAPI_KEY_2 0x03
#define OAPI_KEY_3 0x04
#define OAPI_KEY_4 0x05
#define OAPI_KEY_5 0x06
#define OAPI_KEY_6 0x07
#define OAPI_KEY_7 0x08
#define OAPI_KEY_8 0x09
#define OAPI_KEY_9 0x0A
#define OAPI_KEY_0 0x0B
#define OAPI_KEY_MINUS 0x0C
#define OAPI_KEY_EQUALS 0x0D
#define OAPI_KEY_BACK 0x0E
#define OAPI_KEY_TAB 0x0F
#define OAPI_KEY_Q 0x10
#define OAPI_KEY_W 0x11
#define OAPI_KEY_E 0x12
#define OAPI_KEY_R 0x13
#define OAPI_KEY_T 0x14
#define OAPI_KEY_Y 0x15
#define OAPI_KEY_U 0x16
#define OAPI_KEY_I 0x17
#define OAPI_KEY_O 0x18
#define OAPI_KEY_P 0x19
#define OAPI_KEY_RETURN 0x1C
#define OAPI_KEY_LCONTROL 0x1D
#define OAPI_KEY_A 0x1E
#define OAPI_KEY_S 0x1F
#define OAPI_KEY_D 0x20
#define OAPI_KEY_F 0x21
#define OAPI_KEY_G 0x22
#define OAPI_KEY_H 0x23
#define OAPI_KEY_J 0x24
#define OAPI_KEY_K 0x25
#define OAPI_KEY_L 0x26
#define OAPI_KEY_LSHIFT 0x2A
#define OAPI_KEY_Z 0x2C
#define OAPI_KEY_X 0x2D
#define OAPI_KEY_C 0x2E
#define OAPI_KEY_V 0x2F
#define OAPI_KEY_B 0x30
#define OAPI_KEY_N 0x31
#define OAPI_KEY_M 0x32
#define OAPI_KEY_RSHIFT 0x36
#define OAPI_KEY_SPACE 0x39
#define OAPI_KEY_F1 0x3B
#define OAPI_KEY_F2 0x3C
#define OAPI_KEY_F3 0x3D
#define OAPI_KEY_F4 0x3E
#define OAPI_KEY_F5 0x3F
#define OAPI_KEY_F6 0x40
#define OAPI_KEY_F7 0x41
#define OAPI_KEY_F8 0x42
#define OAPI_KEY_F9 0x43
#define OAPI_KEY_F10 0x44
#define OAPI_KEY_RCONTROL 0x9D

#define KEYDOWN(buf, key) (buf[key] & 0x80)
#define KEYMOD_LSHIFT(buf) (KEYDOWN(buf, OAPI_KEY_LSHIFT))
#define KEYMOD_RSHIFT(buf) (KEYDOWN(buf, OAPI_KEY_RSHIFT))
#define KEYMOD_SHIFT(buf) (KEYMOD_LSHIFT(buf) || KEYMOD_RSHIFT(buf))
#define KEYMOD_LCONTROL(buf) (KEYDOWN(buf, OAPI_KEY_LCONTROL))
#define KEYMOD_RCONTROL(buf) (KEYDOWN(buf, OAPI_KEY_RCONTROL))
#define KEYMOD_CONTROL(buf) (KEYMOD_LCONTROL(buf) || KEYMOD_RCONTROL(buf))

// ---------------------------------------------------------------- oapi functions

// Vessels and objects
OAPIFUNC OBJHANDLE oapiGetVesselByName(char* name);
OAPIFUNC OBJHANDLE oapiGetVesselByIndex(int index);
OAPIFUNC DWORD oapiGetVesselCount();
OAPIFUNC OBJHANDLE oapiGetObjectByName(char* name);
OAPIFUNC OBJHANDLE oapiGetGbodyByName(char* name);
OAPIFUNC bool oapiIsVessel(OBJHANDLE hVessel);
OAPIFUNC VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel);
OAPIFUNC void oapiGetObjectName(OBJHANDLE hObj, char* name, int n);
OAPIFUNC OBJHANDLE oapiGetFocusObject();
OAPIFUNC OBJHANDLE oapiSetFocusObject(OBJHANDLE hVessel);
OAPIFUNC OBJHANDLE oapiCreateVesselEx(const char* name, const char* classname, const void* status);
OAPIFUNC bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE hAlternativeCameraTarget = 0);

// Navigation values of a vessel
OAPIFUNC bool oapiGetAltitude(OBJHANDLE hVessel, double* alt);
OAPIFUNC bool oapiGetPitch(OBJHANDLE hVessel, double* pitch);
OAPIFUNC bool oapiGetBank(OBJHANDLE hVessel, double* bank);
OAPIFUNC bool oapiGetHeading(OBJHANDLE hVessel, double* heading);
OAPIFUNC bool oapiGetAirspeed(OBJHANDLE hVessel, double* airspeed);
OAPIFUNC bool oapiGetEquPos(OBJHANDLE hVessel, double* longitude, double* latitude, double* radius);
OAPIFUNC double oapiGetMass(OBJHANDLE hObj);
OAPIFUNC double oapiGetSize(OBJHANDLE hObj);

// Propellant
OAPIFUNC PROPELLANT_HANDLE oapiGetPropellantHandle(OBJHANDLE hVessel, DWORD idx);
OAPIFUNC double oapiGetPropellantMass(PROPELLANT_HANDLE ph);
OAPIFUNC double oapiGetPropellantMaxMass(PROPELLANT_HANDLE ph);

// Meshes and textures
OAPIFUNC MESHHANDLE oapiLoadMeshGlobal(const char* fname);
OAPIFUNC SURFHANDLE oapiRegisterExhaustTexture(char* name);
OAPIFUNC SURFHANDLE oapiRegisterParticleTexture(char* name);

// Time
OAPIFUNC double oapiGetSimTime();
OAPIFUNC double oapiGetSimStep();
OAPIFUNC double oapiGetSimMJD();
OAPIFUNC double oapiGetTimeAcceleration();
OAPIFUNC void oapiSetTimeAcceleration(double warp);

// Scenario files
OAPIFUNC bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line);
OAPIFUNC void oapiWriteScenario_string(FILEHANDLE scn, char* item, char* string);
OAPIFUNC void oapiWriteScenario_int(FILEHANDLE scn, char* item, int i);
OAPIFUNC void oapiWriteScenario_float(FILEHANDLE scn, char* item, double d);
OAPIFUNC void oapiWriteScenario_vec(FILEHANDLE scn, char* item, const VECTOR3& vec);

// Host files ("temp", "tarvik/custom1.cfg", ...)
OAPIFUNC FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root = ROOT);
OAPIFUNC void oapiCloseFile(FILEHANDLE f, FileAccessMode mode);
OAPIFUNC bool oapiReadItem_string(FILEHANDLE f, char* item, char* string);
OAPIFUNC bool oapiReadItem_float(FILEHANDLE f, char* item, double& d);
OAPIFUNC bool oapiReadItem_int(FILEHANDLE f, char* item, int& i);
OAPIFUNC bool oapiReadItem_bool(FILEHANDLE f, char* item, bool& b);
OAPIFUNC bool oapiReadItem_vec(FILEHANDLE f, char* item, VECTOR3& vec);
OAPIFUNC void oapiWriteItem_string(FILEHANDLE f, char* item, char* string);
OAPIFUNC void oapiWriteItem_float(FILEHANDLE f, char* item, double d);
OAPIFUNC void oapiWriteItem_int(FILEHANDLE f, char* item, int i);
OAPIFUNC void oapiWriteItem_bool(FILEHANDLE f, char* item, bool b);
OAPIFUNC void oapiWriteItem_vec(FILEHANDLE f, char* item, const VECTOR3& vec);

// Dialogs
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);
OAPIFUNC HWND oapiOpenDialog(HINSTANCE hDLLInst, int resourceId, DLGPROC msgProc, void* context = 0);
OAPIFUNC HWND oapiFindDialog(HINSTANCE hDLLInst, int resourceId);
OAPIFUNC void oapiCloseDialog(HWND hDlg);
OAPIFUNC void* oapiGetDialogContext(HWND hDlg);
OAPIFUNC INT_PTR oapiDefDialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
OAPIFUNC bool oapiUnregisterCustomCmd(int cmdId);

// Screen annotations
OAPIFUNC NOTEHANDLE oapiCreateAnnotation(bool exclusive, double size, const VECTOR3& col);
OAPIFUNC bool oapiDelAnnotation(NOTEHANDLE hNote);
OAPIFUNC void oapiAnnotationSetPos(NOTEHANDLE hNote, double x1, double y1, double x2, double y2);
OAPIFUNC void oapiAnnotationSetSize(NOTEHANDLE hNote, double size);
OAPIFUNC void oapiAnnotationSetColour(NOTEHANDLE hNote, const VECTOR3& col);
OAPIFUNC void oapiAnnotationSetText(NOTEHANDLE hNote, char* note);

// HUD, MFD and camera
OAPIFUNC bool oapiSetHUDMode(int mode);
OAPIFUNC int oapiGetHUDMode();
OAPIFUNC void oapiToggleMFD_on(int mfd);
OAPIFUNC void oapiCameraAttach(OBJHANDLE hObj, int mode);
OAPIFUNC OBJHANDLE oapiCameraTarget();
OAPIFUNC bool oapiCameraInternal();
OAPIFUNC void oapiCameraSetCockpitDir(double polar, double azimuth, bool transition = false);
