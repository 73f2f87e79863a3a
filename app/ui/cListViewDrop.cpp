// Files dragged onto the list from Explorer: an OLE drop target that hands
// the file names to the owner's handlers.
#include <ole2.h>
#include <shellapi.h>

#include "cListView.h"

namespace pw {
namespace {

std::vector<std::wstring> DroppedFiles(IDataObject* data) {
    std::vector<std::wstring> files;
    if (!data)
        return files;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium)))
        return files;
    if (auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            UINT length = DragQueryFileW(drop, i, nullptr, 0);
            std::wstring name(length + 1, L'\0');
            DragQueryFileW(drop, i, name.data(), length + 1);
            name.resize(length);
            files.push_back(std::move(name));
        }
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return files;
}

}  // namespace

class cListView::cDropTarget : public IDropTarget {
  public:
    explicit cDropTarget(cListView* owner) : owner_(owner) {}
    virtual ~cDropTarget() = default;

    void Detach() { owner_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override {
        files_ = DroppedFiles(data);
        return DragOver(keyState, pt, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        DWORD wanted = DROPEFFECT_NONE;
        if (owner_ && owner_->OnFileDragOver && !files_.empty()) {
            wanted = owner_->OnFileDragOver(files_, ClientPoint(pt), keyState);
        }
        *effect &= wanted;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        files_.clear();
        if (owner_ && owner_->OnFileDragLeave)
            owner_->OnFileDragLeave();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        std::vector<std::wstring> files = DroppedFiles(data);
        if (files.empty())
            files = files_;
        files_.clear();
        DWORD done = DROPEFFECT_NONE;
        if (owner_ && owner_->OnFileDrop && !files.empty())
            done = owner_->OnFileDrop(files, ClientPoint(pt), keyState);
        *effect &= done;
        return S_OK;
    }

  private:
    POINT ClientPoint(POINTL pt) const {
        POINT point{pt.x, pt.y};
        if (owner_ && owner_->list_)
            ScreenToClient(owner_->list_, &point);
        return point;
    }

    LONG references_ = 1;
    cListView* owner_;
    std::vector<std::wstring> files_;
};

bool cListView::EnableFileDrop(bool on) {
    if (!on) {
        if (dropTarget_) {
            if (list_)
                RevokeDragDrop(list_);
            dropTarget_->Detach();
            dropTarget_->Release();
            dropTarget_ = nullptr;
        }
        return true;
    }
    if (dropTarget_)
        return true;
    if (!list_)
        return false;
    auto* target = new cDropTarget(this);
    if (FAILED(RegisterDragDrop(list_, target))) {
        target->Release();
        return false;
    }
    dropTarget_ = target;
    return true;
}

}  // namespace pw
