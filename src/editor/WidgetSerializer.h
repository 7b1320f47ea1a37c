#pragma once
// The inspector's core, without a window: one more ASerializer, which walks
// an object's transform and components with the very calls a save makes
// and hands each field to a FieldWidgets -- Dear ImGui's widgets in the
// editor, a script in tests. So every component, present and future, is
// editable with no code of its own.
//
// An edit goes back through the same Serialize: the object is written to
// text with the field's new value in its place and read back into the same
// object (same id) the way a level is loaded, so each component rebuilds
// what depends on its fields (a body from its outline) as it does on load.
//
// A field is known by its place in the walk: 0 is the transform's "X", and
// the count goes on through every component's fields and lists in the
// order GameObject::Save writes them; fields inside a closed group are
// counted too.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/Vec2.h"
#include "serialization/Serializer.h"

namespace Flurr {

class GameObject;

// One field's value, of the type its Serialize call names.
using FieldValue =
    std::variant<bool, std::string, double, float, uint32_t, int32_t, std::vector<Vec2>,
                 std::vector<std::string>, std::vector<bool>, std::vector<double>,
                 std::vector<float>, std::vector<uint32_t>, std::vector<int32_t>>;

struct FieldEdit {
    // The field's place in the walk.
    int32_t field = -1;
    FieldValue value;
};

// What the walk shows each field with. Each value widget gets a copy of
// the value and returns true when the designer changed it.
class FieldWidgets {
public:
    virtual ~FieldWidgets() = default;
    // An object element (a component, a group of its fields): false when
    // it is folded, and its fields are then walked without widgets.
    virtual bool Open(std::string_view name) = 0;
    virtual void Close() = 0;
    virtual bool Bool(std::string_view name, bool& value) = 0;
    virtual bool Text(std::string_view name, std::string& value) = 0;
    virtual bool Double(std::string_view name, double& value) = 0;
    virtual bool Float(std::string_view name, float& value) = 0;
    virtual bool Unsigned(std::string_view name, uint32_t& value) = 0;
    virtual bool Int(std::string_view name, int32_t& value) = 0;
    virtual bool Point(std::string_view name, Vec2& value) = 0;
    // A list: its items go through the widgets above, named by index;
    // Resize() then returns +1 to add an item (a copy of the last), -1 to
    // remove the last, 0 for neither.
    virtual bool OpenList(std::string_view name, std::size_t size) = 0;
    virtual int Resize(std::size_t size) = 0;
    virtual void CloseList() = 0;
};

class WidgetSerializer : public ASerializer {
public:
    explicit WidgetSerializer(FieldWidgets& widgets);

    // Shows the object's transform (as the group "Transform") and every
    // component; the first change the widgets report is the edit.
    void Walk(GameObject& object);
    const std::optional<FieldEdit>& Edit() const { return edit; }

    bool Begin(std::string_view name) override;
    void End(std::string_view name) override;
    void BoolField(std::string_view name, bool& value) override;
    void StringField(std::string_view name, std::string& value) override;
    void DoubleField(std::string_view name, double& value) override;
    void FloatField(std::string_view name, float& value) override;
    void FiniteFloatField(std::string_view name, float& value) override;
    void UnsignedField(std::string_view name, uint32_t& value) override;
    void IntField(std::string_view name, int32_t& value) override;
    void Vec2List(std::string_view name, std::vector<Vec2>& list) override;
    void StringList(std::string_view name, std::vector<std::string>& list) override;
    void BoolList(std::string_view name, std::vector<bool>& list) override;
    void DoubleList(std::string_view name, std::vector<double>& list) override;
    void FloatList(std::string_view name, std::vector<float>& list) override;
    void UnsignedList(std::string_view name, std::vector<uint32_t>& list) override;
    void IntList(std::string_view name, std::vector<int32_t>& list) override;
    bool Finish() override { return true; }

private:
    bool Shown() const { return folded == 0; }
    template <typename T> void Field(std::string_view name, T& value);
    template <typename T> void List(std::string_view name, std::vector<T>& list);

    FieldWidgets& widgets;
    int32_t field = 0;
    // How deep the walk is inside a folded group (0: shown).
    int32_t folded = 0;
    std::optional<FieldEdit> edit;
};

// The object as "Root" holding its "GameObject" (the clipboard's layout),
// with the edit's value in place of its field when one is given.
std::string ObjectText(GameObject& object, const FieldEdit* edit = nullptr);
// The same with one more component, of the class named, with its defaults.
std::string ObjectTextWith(GameObject& object, const std::string& componentName);
// Writes the object with the edit and reads it back in place through the
// factory; false when there is no factory or the text held no object.
bool ApplyEdit(GameObject& object, const FieldEdit& edit);

} // namespace Flurr
