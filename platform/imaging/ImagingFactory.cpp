#include "imaging/ImagingFactory.h"

#include "com/ComClassTable.h"
#include "imaging/BitmapImage.h"
#include "imaging/JpegEncoder.h"

#include <new>

namespace platform {

void ImagingFactory::RegisterClass() {
    ComClassTable::Instance().Register(CLSID_ImagingFactory, [](REFIID iid, void** object) -> HRESULT {
        auto* factory = new (std::nothrow) ImagingFactory();
        if (!factory)
            return E_OUTOFMEMORY;
        HRESULT result = factory->QueryInterface(iid, object);
        factory->Release();
        return result;
    });
}

HRESULT ImagingFactory::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IImagingFactory) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IImagingFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG ImagingFactory::Release() {
    ULONG remaining = 0;
    if (m_refs.Drop(remaining))
        delete this;
    return remaining;
}

HRESULT ImagingFactory::CreateBitmapFromBuffer(BitmapData* data, IBitmapImage** bitmap) {
    if (!data || !bitmap)
        return E_POINTER;
    *bitmap = BitmapImage::Create(*data);
    return *bitmap ? S_OK : E_INVALIDARG;
}

HRESULT ImagingFactory::GetInstalledEncoders(UINT* count, ImageCodecInfo** encoders) {
    if (!count || !encoders)
        return E_POINTER;
    *count = 0;
    *encoders = static_cast<ImageCodecInfo*>(CoTaskMemAlloc(sizeof(ImageCodecInfo)));
    if (!*encoders)
        return E_OUTOFMEMORY;
    (*encoders)[0] = JpegEncoder::CodecInfo();
    *count = 1;
    return S_OK;
}

HRESULT ImagingFactory::CreateImageEncoderToStream(const CLSID* clsid, IStream* stream, IImageEncoder** encoder) {
    if (!clsid || !stream || !encoder)
        return E_POINTER;
    *encoder = nullptr;
    if (!(*clsid == CLSID_JpegEncoder))
        return REGDB_E_CLASSNOTREG;
    JpegEncoder* jpeg = JpegEncoder::Create();
    if (!jpeg)
        return E_OUTOFMEMORY;
    HRESULT result = jpeg->InitEncoder(stream);
    if (FAILED(result)) {
        jpeg->Release();
        return result;
    }
    *encoder = jpeg;
    return S_OK;
}

} // namespace platform
