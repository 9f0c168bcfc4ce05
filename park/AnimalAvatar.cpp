#include "park/AnimalAvatar.h"

#include "game/DataStorage.h"
#include "toolkit/utils/misc.h"

AnimalAvatar::AnimalAvatar(const std::string& scenePath, const std::string& placeName, int placeIndex,
                           CRender::Object* placeScene, const std::wstring& species, int variant)
    : mFigure(requestObject(scenePath)), mPlaceScene(placeScene), mType(species), mVariant(variant),
      mPlaceNodeName(placeName), mCreatorWord(placeIndex)
{
    const auto& skins = Singleton<DataStorage>::get()->mSkins[species];
    if (variant >= 0 && variant < static_cast<int>(skins.size()))
        mLayerMask = skins[variant].second;
}

void AnimalAvatar::setAnimation(const std::wstring& name)
{
    mAnimation = toLowerWide(name);
    mAnimTime = static_cast<float>(Singleton<DataStorage>::get()->mAnimations[mType][mAnimation].mStart);
}

void AnimalAvatar::playThen(const std::wstring& name)
{
    mNextAnimation = mAnimation;
    setAnimation(name);
}
