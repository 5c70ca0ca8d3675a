// Animations: the host keeps its own copy of every mesh-group transform it is
// given, so nothing depends on the module's objects staying alive.
#include "CurrentSimulation.h"
#include "VesselAccess.h"

using host::recordOf;

namespace {

std::unique_ptr<MGROUP_TRANSFORM> copyTransform(const MGROUP_TRANSFORM& t) {
    switch (t.Type()) {
        case MGROUP_TRANSFORM::ROTATE:
            return std::make_unique<MGROUP_ROTATE>(static_cast<const MGROUP_ROTATE&>(t));
        case MGROUP_TRANSFORM::TRANSLATE:
            return std::make_unique<MGROUP_TRANSLATE>(static_cast<const MGROUP_TRANSLATE&>(t));
        default:
            return std::make_unique<MGROUP_TRANSFORM>(t.mesh, nullptr, t.ngrp);
    }
}

}  // namespace

UINT VESSEL::CreateAnimation(double initial_state) const {
    auto& v = recordOf(hVessel);
    host::Animation a;
    a.defaultState = a.state = a.shownState = initial_state;
    v.animations.push_back(std::move(a));
    return static_cast<UINT>(v.animations.size() - 1);
}

ANIMATIONCOMPONENT_HANDLE VESSEL::AddAnimationComponent(UINT anim, double state0, double state1,
                                                        MGROUP_TRANSFORM* trans,
                                                        ANIMATIONCOMPONENT_HANDLE parent) const {
    auto& v = recordOf(hVessel);
    if (anim >= v.animations.size() || !trans)
        return nullptr;
    auto c = std::make_unique<host::AnimationComponent>();
    c->state0 = state0;
    c->state1 = state1;
    c->parent = reinterpret_cast<host::AnimationComponent*>(parent);
    c->transform = copyTransform(*trans);
    if (trans->grp)
        c->groups.assign(trans->grp, trans->grp + trans->ngrp);
    c->transform->grp = c->groups.empty() ? nullptr : c->groups.data();
    c->transform->ngrp = static_cast<UINT>(c->groups.size());
    auto& components = v.animations[anim].components;
    components.push_back(std::move(c));
    return reinterpret_cast<ANIMATIONCOMPONENT_HANDLE>(components.back().get());
}

bool VESSEL::SetAnimation(UINT anim, double state) const {
    auto& v = recordOf(hVessel);
    if (anim >= v.animations.size())
        return false;
    v.animations[anim].state = state;
    return true;
}

double VESSEL::GetAnimation(UINT anim) const {
    auto& v = recordOf(hVessel);
    return anim < v.animations.size() ? v.animations[anim].state : 0;
}
