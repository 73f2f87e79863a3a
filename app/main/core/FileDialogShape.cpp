#include "FileDialogShape.h"

#include <functional>
#include <optional>

namespace pw {
namespace {

constexpr std::wstring_view kDialogClass = L"#32770";

bool ClassIs(const DialogNode& node, std::wstring_view name) {
    if (node.className.size() != name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        wchar_t a = node.className[i], b = name[i];
        if (a >= L'A' && a <= L'Z')
            a = static_cast<wchar_t>(a - L'A' + L'a');
        if (b >= L'A' && b <= L'Z')
            b = static_cast<wchar_t>(b - L'A' + L'a');
        if (a != b)
            return false;
    }
    return true;
}

// The first node, depth first, for which match holds; its path in found.
bool FindBelow(const DialogNode& node,
               const std::function<bool(const DialogNode&)>& match,
               ControlPath& path,
               ControlPath& found) {
    for (size_t i = 0; i < node.children.size(); ++i) {
        path.push_back(i);
        if (match(node.children[i]) || FindBelow(node.children[i], match, path, found)) {
            if (found.empty())
                found = path;
            path.pop_back();
            return true;
        }
        path.pop_back();
    }
    return false;
}

bool Find(const DialogNode& node, const std::function<bool(const DialogNode&)>& match, ControlPath& found) {
    ControlPath path;
    found.clear();
    return FindBelow(node, match, path, found);
}

ControlPath Join(ControlPath head, const ControlPath& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::optional<size_t> DirectChild(const DialogNode& node, std::wstring_view className, int id) {
    for (size_t i = 0; i < node.children.size(); ++i) {
        if (ClassIs(node.children[i], className) && (id < 0 || node.children[i].id == id))
            return i;
    }
    return std::nullopt;
}

// A folder picker of SHBrowseForFolder: its tree lives in a control of
// its own.
bool IsBrowseForFolder(const DialogNode& dialog) {
    ControlPath unused;
    return Find(
        dialog, [](const DialogNode& n) { return ClassIs(n, L"SHBrowseForFolder ShellNameSpace Control"); }, unused);
}

// Vista and later: #32770 → DUIViewWndClassName → DirectUIHWND →
// FloatNotifySink → ComboBox → Edit 0x3E9 for the name; the type box is a
// combo box without an edit. A folder picker of the same dialog has the
// name box but no type box, and pressing OK there would pick the folder
// and close the dialog, so a dialog without a type box is left alone.
FileDialogPlan PlanItemDialog(const DialogNode& dialog, size_t duiIndex, size_t okIndex) {
    FileDialogPlan plan;
    const DialogNode& dui = dialog.children[duiIndex];
    ControlPath nameEdit, typeBox;
    ControlPath path;
    // Walk every FloatNotifySink below the view.
    std::function<void(const DialogNode&)> walk = [&](const DialogNode& node) {
        for (size_t i = 0; i < node.children.size(); ++i) {
            const DialogNode& child = node.children[i];
            path.push_back(i);
            if (ClassIs(child, L"FloatNotifySink")) {
                for (size_t c = 0; c < child.children.size(); ++c) {
                    const DialogNode& combo = child.children[c];
                    if (!ClassIs(combo, L"ComboBox"))
                        continue;
                    auto edit = DirectChild(combo, L"Edit", kComboEditId);
                    if (edit && nameEdit.empty()) {
                        nameEdit = path;
                        nameEdit.push_back(c);
                        nameEdit.push_back(*edit);
                    } else if (!DirectChild(combo, L"Edit", -1) && combo.visible && typeBox.empty()) {
                        typeBox = path;
                        typeBox.push_back(c);
                    }
                }
            } else {
                walk(child);
            }
            path.pop_back();
        }
    };
    walk(dui);
    if (nameEdit.empty() || typeBox.empty())
        return plan;
    plan.style = FileDialogStyle::ItemDialog;
    plan.fileName = Join({duiIndex}, nameEdit);
    plan.okButton = {okIndex};
    // The address band: ReBarWindow32 → Address Band Root → … → Edit.
    ControlPath rebar;
    if (Find(
            dialog, [](const DialogNode& n) { return ClassIs(n, L"ReBarWindow32"); }, rebar)) {
        const DialogNode* rebarNode = NodeAt(dialog, rebar);
        ControlPath root;
        if (Find(
                *rebarNode, [](const DialogNode& n) { return ClassIs(n, L"Address Band Root"); }, root)) {
            ControlPath edit;
            if (Find(
                    *NodeAt(*rebarNode, root), [](const DialogNode& n) { return ClassIs(n, L"Edit"); }, edit))
                plan.folderShown = Join(Join(rebar, root), edit);
        }
    }
    return plan;
}

// The common dialog's own template: the name box is a direct child with
// id 0x47C (a ComboBoxEx32, a ComboBox or an Edit) or an Edit 0x480; the
// text goes into the innermost edit of it.
FileDialogPlan PlanClassic(const DialogNode& dialog, size_t okIndex) {
    FileDialogPlan plan;
    ControlPath name;
    for (size_t i = 0; i < dialog.children.size() && name.empty(); ++i) {
        const DialogNode& child = dialog.children[i];
        if (child.id == kFileNameComboId) {
            if (ClassIs(child, L"Edit")) {
                name = {i};
            } else if (ClassIs(child, L"ComboBox") || ClassIs(child, L"ComboBoxEx32")) {
                ControlPath edit;
                if (Find(
                        child, [](const DialogNode& n) { return ClassIs(n, L"Edit"); }, edit))
                    name = Join({i}, edit);
            }
        } else if (child.id == kFileNameEditId && ClassIs(child, L"Edit")) {
            name = {i};
        }
    }
    // An edit box 0x480 and an OK button alone make no file dialog; the
    // type box or the "Suchen in" box shown does. Wine's folder picker has
    // the name box and hides the type box.
    auto shown = [&dialog](int id) {
        auto index = DirectChild(dialog, L"ComboBox", id);
        return index && dialog.children[*index].visible;
    };
    if (name.empty() || !(shown(kFileTypeComboId) || shown(kLookInComboId)))
        return plan;
    plan.style = FileDialogStyle::Classic;
    plan.fileName = name;
    plan.okButton = {okIndex};
    if (auto lookIn = DirectChild(dialog, L"ComboBox", kLookInComboId))
        plan.folderShown = {*lookIn};
    return plan;
}

}  // namespace

const DialogNode* NodeAt(const DialogNode& root, const ControlPath& path) {
    const DialogNode* node = &root;
    for (size_t index : path) {
        if (index >= node->children.size())
            return nullptr;
        node = &node->children[index];
    }
    return node;
}

FileDialogPlan PlanFileDialog(const DialogNode& dialog) {
    if (!ClassIs(dialog, kDialogClass) || IsBrowseForFolder(dialog))
        return {};
    auto ok = DirectChild(dialog, L"Button", kOkButtonId);
    if (!ok)
        return {};
    if (auto dui = DirectChild(dialog, L"DUIViewWndClassName", -1))
        return PlanItemDialog(dialog, *dui, *ok);
    return PlanClassic(dialog, *ok);
}

std::wstring FolderJumpText(std::wstring_view folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.remove_suffix(1);
    return std::wstring(folder) + L'\\';
}

}  // namespace pw
