#include "framework/AccessibleValue.h"

#include <oleacc.h>

// Interface ids come from __uuidof: oleacc's import library exports IID_IAccessible as a data symbol
// that a link can resolve to its import stub rather than to the id.

#include <atomic>
#include <utility>

#include "os/Text.h"

namespace fw {
namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT Text(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocString(os::Wide(text).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

// COM objects are deleted by their own Release, never through an interface pointer, so the interfaces
// have no virtual destructor.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

// Every question but the name, the role and the value goes to the system's standard object.
class ValueAccessible final : public IAccessible {
 public:
  ValueAccessible(IAccessible* standard, std::shared_ptr<const AccessibleTexts> texts)
      : m_standard(standard), m_texts(std::move(texts)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return m_standard->QueryInterface(iid, out);  // IEnumVARIANT, IOleWindow: the window's own
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return m_standard->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return m_standard->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argument) override {
    return m_standard->Invoke(id, iid, locale, flags, params, result, exception, argument);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return IsSelf(child) ? Text(m_texts->name, name) : m_standard->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return IsSelf(child) ? Text(m_texts->value, value) : m_standard->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child) || m_texts->role == 0 || !role) return m_standard->get_accRole(child, role);
    role->vt = VT_I4;
    role->lVal = m_texts->role;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return m_standard->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return m_standard->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return m_standard->get_accDescription(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return m_standard->get_accState(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return m_standard->get_accHelp(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return m_standard->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return m_standard->get_accKeyboardShortcut(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override { return m_standard->get_accFocus(out); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override { return m_standard->get_accSelection(out); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return m_standard->get_accDefaultAction(child, out);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return m_standard->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return m_standard->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return m_standard->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return m_standard->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return m_standard->accDoDefaultAction(child); }
  // The texts are the control's; readers do not set them.
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~ValueAccessible() { m_standard->Release(); }

  std::atomic<ULONG> m_references{1};
  IAccessible* m_standard;
  std::shared_ptr<const AccessibleTexts> m_texts;
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM flags, LPARAM objectId,
                        const std::shared_ptr<const AccessibleTexts>& texts) {
  if (static_cast<LONG>(objectId) != OBJID_CLIENT) return DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
  IAccessible* standard = nullptr;
  const HRESULT created =
      CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard));
  if (FAILED(created) || !standard)
    return 0;
  auto* object = new ValueAccessible(standard, texts);
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), flags, object);
  object->Release();  // the result holds its own reference
  // Where the object cannot be handed over, the reader gets the standard one rather than an error.
  return result >= 0 ? result : DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
}

}  // namespace fw
