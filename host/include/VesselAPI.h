// The vessel classes the plug-ins derive from. VESSEL holds the non-virtual
// operations a module calls on its vessel; VESSEL2 adds the callbacks the
// simulator calls. Every operation is implemented by the host library.
#pragma once

#include "OrbiterAPI.h"

// A light source attached to a vessel (AddPointLight).
class OAPIFUNC LightEmitter {
public:
    LightEmitter();
    virtual ~LightEmitter();
    void SetIntensity(double in);
    double GetIntensity() const;
    void Activate(bool act);
    bool IsActive() const;
    const VECTOR3& GetPosition() const;

protected:
    double intens;
    bool active;
    VECTOR3 pos;
};

class OAPIFUNC PointLight : public LightEmitter {
public:
    PointLight(const VECTOR3& p, double range, double att0, double att1, double att2, COLOUR4 diffuse, COLOUR4 specular,
               COLOUR4 ambient);
    double GetRange() const { return range; }
    const double* GetAttenuation() const { return att; }
    COLOUR4 GetDiffuseColour() const { return col_diff; }

protected:
    double range;
    double att[3];
    COLOUR4 col_diff, col_spec, col_ambi;
};

// Mesh group transformations used by animations.
struct OAPIFUNC MGROUP_TRANSFORM {
    enum TYPE { NULLTRANSFORM, ROTATE, TRANSLATE, SCALE };
    MGROUP_TRANSFORM() : mesh(0), grp(0), ngrp(0) {}
    MGROUP_TRANSFORM(UINT _mesh, UINT* _grp, UINT _ngrp) : mesh(_mesh), grp(_grp), ngrp(_ngrp) {}
    virtual ~MGROUP_TRANSFORM() {}
    virtual TYPE Type() const { return NULLTRANSFORM; }
    UINT mesh;
    UINT* grp;
    UINT ngrp;
};

struct OAPIFUNC MGROUP_ROTATE : public MGROUP_TRANSFORM {
    MGROUP_ROTATE(UINT _mesh, UINT* _grp, UINT _ngrp, const VECTOR3& _ref, const VECTOR3& _axis, float _angle)
        : MGROUP_TRANSFORM(_mesh, _grp, _ngrp), ref(_ref), axis(_axis), angle(_angle) {}
    TYPE Type() const override { return ROTATE; }
    VECTOR3 ref;
    VECTOR3 axis;
    float angle;
};

struct OAPIFUNC MGROUP_TRANSLATE : public MGROUP_TRANSFORM {
    MGROUP_TRANSLATE(UINT _mesh, UINT* _grp, UINT _ngrp, const VECTOR3& _shift)
        : MGROUP_TRANSFORM(_mesh, _grp, _ngrp), shift(_shift) {}
    TYPE Type() const override { return TRANSLATE; }
    VECTOR3 shift;
};

class OAPIFUNC VESSEL {
public:
    VESSEL(OBJHANDLE hVessel, int fmodel = 1);
    virtual ~VESSEL();

    // identity
    OBJHANDLE GetHandle() const;
    char* GetName() const;
    char* GetClassName() const;
    int GetFlightModel() const;

    // class capabilities
    void SetSize(double size) const;
    double GetSize() const;
    void SetEmptyMass(double m) const;
    double GetEmptyMass() const;
    double GetMass() const;
    void SetCW(double cw_z_pos, double cw_z_neg, double cw_x, double cw_y) const;
    void SetCrossSections(const VECTOR3& cs) const;
    void SetRotDrag(const VECTOR3& rd) const;
    void SetPMI(const VECTOR3& pmi) const;
    void GetPMI(VECTOR3& pmi) const;
    void SetPitchMomentScale(double scale) const;
    void SetYawMomentScale(double scale) const;
    void SetTrimScale(double scale) const;
    void SetClipRadius(double rad) const;
    void SetTouchdownPoints(const VECTOR3& pt1, const VECTOR3& pt2, const VECTOR3& pt3) const;
    void SetCameraOffset(const VECTOR3& co) const;
    void SetCameraDefaultDirection(const VECTOR3& cd) const;
    void SetCameraDefaultDirection(const VECTOR3& cd, double tilt) const;
    void SetCameraRotationRange(double left, double right, double up, double down) const;
    void SetEnableFocus(bool enable) const;

    // meshes
    UINT AddMesh(MESHHANDLE hMesh, const VECTOR3* ofs = 0) const;
    UINT AddMesh(const char* meshname, const VECTOR3* ofs = 0) const;
    UINT InsertMesh(MESHHANDLE hMesh, UINT idx, const VECTOR3* ofs = 0) const;
    UINT InsertMesh(const char* meshname, UINT idx, const VECTOR3* ofs = 0) const;
    bool DelMesh(UINT idx, bool retain_anim = false) const;
    void ClearMeshes() const;
    void ClearMeshes(bool retain_anim) const;
    bool ShiftMesh(UINT idx, const VECTOR3& ofs) const;
    void SetMeshVisibilityMode(UINT idx, WORD mode) const;
    UINT GetMeshCount() const;
    void ShiftCG(const VECTOR3& shift);
    void ShiftCentreOfMass(const VECTOR3& shift);

    // propellant
    PROPELLANT_HANDLE CreatePropellantResource(double maxmass, double mass = -1.0, double efficiency = 1.0) const;
    void DelPropellantResource(PROPELLANT_HANDLE& ph) const;
    void ClearPropellantResources() const;
    void SetPropellantMass(PROPELLANT_HANDLE ph, double mass) const;
    void SetPropellantMaxMass(PROPELLANT_HANDLE ph, double maxmass) const;
    double GetPropellantMass(PROPELLANT_HANDLE ph) const;
    double GetPropellantMaxMass(PROPELLANT_HANDLE ph) const;
    PROPELLANT_HANDLE GetPropellantHandleByIndex(DWORD idx) const;
    DWORD GetPropellantCount() const;
    double GetFuelMass() const;  // the default (first) propellant resource
    double GetMaxFuelMass() const;
    double GetTotalPropellantMass() const;

    // thrusters
    THRUSTER_HANDLE CreateThruster(const VECTOR3& pos, const VECTOR3& dir, double maxth0, PROPELLANT_HANDLE hp = NULL,
                                   double isp0 = 0.0, double isp_ref = 0.0, double p_ref = 101.4e3) const;
    bool DelThruster(THRUSTER_HANDLE& th) const;
    void ClearThrusterDefinitions() const;
    DWORD GetThrusterCount() const;
    THRUSTER_HANDLE GetThrusterHandleByIndex(DWORD idx) const;
    void SetThrusterLevel(THRUSTER_HANDLE th, double level) const;
    double GetThrusterLevel(THRUSTER_HANDLE th) const;
    void SetThrusterDir(THRUSTER_HANDLE th, const VECTOR3& dir) const;
    void GetThrusterDir(THRUSTER_HANDLE th, VECTOR3& dir) const;
    void SetThrusterRef(THRUSTER_HANDLE th, const VECTOR3& pos) const;
    void GetThrusterRef(THRUSTER_HANDLE th, VECTOR3& pos) const;
    double GetThrusterMax0(THRUSTER_HANDLE th) const;
    PROPELLANT_HANDLE GetThrusterResource(THRUSTER_HANDLE th) const;
    void SetThrusterResource(THRUSTER_HANDLE th, PROPELLANT_HANDLE ph) const;
    THGROUP_HANDLE CreateThrusterGroup(THRUSTER_HANDLE* th, int nth, THGROUP_TYPE thgt) const;
    bool DelThrusterGroup(THGROUP_HANDLE& thg, THGROUP_TYPE thgt, bool delth = false) const;
    bool DelThrusterGroup(THGROUP_TYPE thgt, bool delth = false) const;
    THGROUP_HANDLE GetThrusterGroupHandle(THGROUP_TYPE thgt) const;
    void SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const;
    void SetThrusterGroupLevel(THGROUP_HANDLE thg, double level) const;
    double GetThrusterGroupLevel(THGROUP_TYPE thgt) const;
    double GetThrusterGroupLevel(THGROUP_HANDLE thg) const;

    // exhausts, streams, lights, beacons
    UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, SURFHANDLE tex = 0) const;
    UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, double lofs, SURFHANDLE tex = 0) const;
    UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3& pos, const VECTOR3& dir,
                    SURFHANDLE tex = 0) const;
    PSTREAM_HANDLE AddExhaustStream(THRUSTER_HANDLE th, PARTICLESTREAMSPEC* pss = 0) const;
    PSTREAM_HANDLE AddExhaustStream(THRUSTER_HANDLE th, const VECTOR3& pos, PARTICLESTREAMSPEC* pss = 0) const;
    LightEmitter* AddPointLight(const VECTOR3& pos, double range, double att0, double att1, double att2,
                                COLOUR4 diffuse, COLOUR4 specular, COLOUR4 ambient) const;
    bool DelLightEmitter(LightEmitter* le) const;
    void ClearLightEmitters() const;
    DWORD LightEmitterCount() const;
    void AddBeacon(BEACONLIGHTSPEC* bs);
    bool DelBeacon(BEACONLIGHTSPEC* bs);
    void ClearBeacons();

    // animations
    UINT CreateAnimation(double initial_state) const;
    ANIMATIONCOMPONENT_HANDLE AddAnimationComponent(UINT anim, double state0, double state1, MGROUP_TRANSFORM* trans,
                                                    ANIMATIONCOMPONENT_HANDLE parent = NULL) const;
    bool SetAnimation(UINT anim, double state) const;
    double GetAnimation(UINT anim) const;

    // state
    void GetStatus(VESSELSTATUS& status) const;
    void GetStatusEx(void* status) const;
    void DefSetStateEx(const void* status) const;
    double GetAltitude() const;
    double GetAirspeed() const;
    bool GetShipAirspeedVector(VECTOR3& v) const;
    bool GetHorizonAirspeedVector(VECTOR3& v) const;
    double GetPitch() const;
    double GetBank() const;
    double GetYaw() const;
    bool GetElements(ELEMENTS& el, double& mjd_ref) const;
    bool GetElements(OBJHANDLE hRef, ELEMENTS& el, ORBITPARAM* prm = 0, double mjd_ref = 0,
                     int frame = FRAME_ECL) const;
    OBJHANDLE GetApDist(double& apdist) const;
    OBJHANDLE GetPeDist(double& pedist) const;
    OBJHANDLE GetGravityRef() const;
    bool GroundContact() const;
    void GetGlobalPos(VECTOR3& pos) const;
    void GetGlobalVel(VECTOR3& vel) const;
    void GetRelativePos(OBJHANDLE hRef, VECTOR3& pos) const;
    void GetRelativeVel(OBJHANDLE hRef, VECTOR3& vel) const;
    void GetRotationMatrix(MATRIX3& R) const;
    void GlobalRot(const VECTOR3& rloc, VECTOR3& rglob) const;
    void Local2Global(const VECTOR3& local, VECTOR3& global) const;
    void Global2Local(const VECTOR3& global, VECTOR3& local) const;
    void Local2Rel(const VECTOR3& local, VECTOR3& rel) const;
    void HorizonRot(const VECTOR3& rloc, VECTOR3& rhorizon) const;
    void HorizonInvRot(const VECTOR3& rhorizon, VECTOR3& rloc) const;
    void GetAngularVel(VECTOR3& avel) const;
    void SetAngularVel(const VECTOR3& avel) const;

    // navigation modes
    bool ActivateNavmode(int mode);
    bool DeactivateNavmode(int mode);
    bool ToggleNavmode(int mode);
    bool GetNavmodeState(int mode);

    // scenario
    void ParseScenarioLineEx(char* line, void* status) const;

protected:
    OBJHANDLE hVessel;
    int flightmodel;
};

class OAPIFUNC VESSEL2 : public VESSEL {
public:
    VESSEL2(OBJHANDLE hVessel, int fmodel = 1);
    ~VESSEL2() override;

    virtual void clbkSetClassCaps(FILEHANDLE cfg);
    virtual void clbkSaveState(FILEHANDLE scn);
    virtual void clbkLoadStateEx(FILEHANDLE scn, void* status);
    virtual void clbkSetStateEx(const void* status);
    virtual void clbkPostCreation();
    virtual void clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel);
    virtual void clbkPreStep(double simt, double simdt, double mjd);
    virtual void clbkPostStep(double simt, double simdt, double mjd);
    virtual int clbkConsumeDirectKey(char* kstate);
    virtual int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate);
};

// Entry points a vessel module exports (looked up by name by the host).
typedef VESSEL* (*OVC_INIT)(OBJHANDLE hvessel, int flightmodel);
typedef void (*OVC_EXIT)(VESSEL* vessel);
typedef void (*MODULE_INIT)(HINSTANCE hDLL);
typedef void (*MODULE_EXIT)(HINSTANCE hDLL);
