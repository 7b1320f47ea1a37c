#include "editor/WidgetSerializer.h"

#include "engine/Component.h"
#include "engine/GameObject.h"
#include "world/Factory.h"

namespace Flurr {

namespace {

// The widget of one value or list item, chosen by its type.
bool Show(FieldWidgets& w, std::string_view name, bool& value) {
    return w.Bool(name, value);
}
bool Show(FieldWidgets& w, std::string_view name, std::string& value) {
    return w.Text(name, value);
}
bool Show(FieldWidgets& w, std::string_view name, double& value) {
    return w.Double(name, value);
}
bool Show(FieldWidgets& w, std::string_view name, float& value) {
    return w.Float(name, value);
}
bool Show(FieldWidgets& w, std::string_view name, uint32_t& value) {
    return w.Unsigned(name, value);
}
bool Show(FieldWidgets& w, std::string_view name, int32_t& value) {
    return w.Int(name, value);
}
bool Show(FieldWidgets& w, std::string_view name, Vec2& value) {
    return w.Point(name, value);
}

// A string saver that writes one field, known by its place in the walk,
// with the edit's value instead of the object's own.
class PatchingSaver : public StringSaveSerializer {
public:
    explicit PatchingSaver(const FieldEdit& edit_) : edit(edit_) {}

    void BoolField(std::string_view n, bool& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::BoolField(n, x); });
    }
    void StringField(std::string_view n, std::string& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::StringField(n, x); });
    }
    void DoubleField(std::string_view n, double& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::DoubleField(n, x); });
    }
    void FloatField(std::string_view n, float& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::FloatField(n, x); });
    }
    void FiniteFloatField(std::string_view n, float& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::FiniteFloatField(n, x); });
    }
    void UnsignedField(std::string_view n, uint32_t& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::UnsignedField(n, x); });
    }
    void IntField(std::string_view n, int32_t& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::IntField(n, x); });
    }
    void Vec2List(std::string_view n, std::vector<Vec2>& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::Vec2List(n, x); });
    }
    void StringList(std::string_view n, std::vector<std::string>& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::StringList(n, x); });
    }
    void BoolList(std::string_view n, std::vector<bool>& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::BoolList(n, x); });
    }
    void DoubleList(std::string_view n, std::vector<double>& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::DoubleList(n, x); });
    }
    void FloatList(std::string_view n, std::vector<float>& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::FloatList(n, x); });
    }
    void UnsignedList(std::string_view n, std::vector<uint32_t>& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::UnsignedList(n, x); });
    }
    void IntList(std::string_view n, std::vector<int32_t>& v) override {
        Patch(v, [&](auto& x) { StringSaveSerializer::IntList(n, x); });
    }

private:
    template <typename T, typename Write> void Patch(T& value, Write write) {
        // The saver writes one kind of field through another (a finite
        // float as a float): that is still the same field.
        if (writing) {
            write(value);
            return;
        }
        const T* changed = field++ == edit.field ? std::get_if<T>(&edit.value) : nullptr;
        T copy = changed ? *changed : T();
        writing = true;
        write(changed ? copy : value);
        writing = false;
    }

    const FieldEdit& edit;
    int32_t field = 0;
    bool writing = false;
};

} // namespace

WidgetSerializer::WidgetSerializer(FieldWidgets& widgets_)
    : ASerializer(".zorvel", true), widgets(widgets_) {}

void WidgetSerializer::Walk(GameObject& object) {
    field = 0;
    folded = 0;
    edit.reset();
    // The transform has no element of its own in a file; here it is a
    // group like a component's.
    Begin("Transform");
    object.SerializeTransform(*this);
    End("Transform");
    for (Component* c : object.components)
        c->Serialize(*this);
}

bool WidgetSerializer::Begin(std::string_view name) {
    if (!Shown())
        ++folded;
    else if (!widgets.Open(name))
        folded = 1;
    // As a saver: nothing to read.
    return false;
}

void WidgetSerializer::End(std::string_view) {
    if (!Shown())
        --folded;
    else
        widgets.Close();
}

template <typename T> void WidgetSerializer::Field(std::string_view name, T& value) {
    const int32_t at = field++;
    if (!Shown())
        return;
    T copy = value;
    if (Show(widgets, name, copy) && !edit)
        edit = FieldEdit{at, std::move(copy)};
}

template <typename T> void WidgetSerializer::List(std::string_view name, std::vector<T>& list) {
    const int32_t at = field++;
    if (!Shown() || !widgets.OpenList(name, list.size()))
        return;
    std::vector<T> copy = list;
    bool changed = false;
    for (std::size_t i = 0; i < copy.size(); ++i) {
        T item = copy[i];
        if (Show(widgets, std::to_string(i), item)) {
            copy[i] = item;
            changed = true;
        }
    }
    const int resize = widgets.Resize(copy.size());
    if (resize > 0) {
        copy.push_back(copy.empty() ? T{} : T(copy.back()));
        changed = true;
    } else if (resize < 0 && !copy.empty()) {
        copy.pop_back();
        changed = true;
    }
    widgets.CloseList();
    if (changed && !edit)
        edit = FieldEdit{at, std::move(copy)};
}

void WidgetSerializer::BoolField(std::string_view n, bool& v) {
    Field(n, v);
}
void WidgetSerializer::StringField(std::string_view n, std::string& v) {
    Field(n, v);
}
void WidgetSerializer::DoubleField(std::string_view n, double& v) {
    Field(n, v);
}
void WidgetSerializer::FloatField(std::string_view n, float& v) {
    Field(n, v);
}
void WidgetSerializer::FiniteFloatField(std::string_view n, float& v) {
    Field(n, v);
}
void WidgetSerializer::UnsignedField(std::string_view n, uint32_t& v) {
    Field(n, v);
}
void WidgetSerializer::IntField(std::string_view n, int32_t& v) {
    Field(n, v);
}
void WidgetSerializer::Vec2List(std::string_view n, std::vector<Vec2>& v) {
    List(n, v);
}
void WidgetSerializer::StringList(std::string_view n, std::vector<std::string>& v) {
    List(n, v);
}
void WidgetSerializer::BoolList(std::string_view n, std::vector<bool>& v) {
    List(n, v);
}
void WidgetSerializer::DoubleList(std::string_view n, std::vector<double>& v) {
    List(n, v);
}
void WidgetSerializer::FloatList(std::string_view n, std::vector<float>& v) {
    List(n, v);
}
void WidgetSerializer::UnsignedList(std::string_view n, std::vector<uint32_t>& v) {
    List(n, v);
}
void WidgetSerializer::IntList(std::string_view n, std::vector<int32_t>& v) {
    List(n, v);
}

std::string ObjectText(GameObject& object, const FieldEdit* edit) {
    const FieldEdit none;
    PatchingSaver saver(edit ? *edit : none);
    saver.Begin("Root");
    object.Save(saver);
    saver.End("Root");
    saver.Finish();
    return saver.Result();
}

std::string ObjectTextWith(GameObject& object, const std::string& componentName) {
    // GameObject::Save's layout, with the new component's element (empty:
    // its defaults) after the others; the factory makes components in
    // registration order whatever the order in the text.
    StringSaveSerializer saver;
    saver.Begin("Root");
    saver.Begin("GameObject");
    object.SerializeTransform(saver);
    for (Component* c : object.components)
        c->Serialize(saver);
    saver.Begin(componentName);
    saver.End(componentName);
    for (const KeptElement& k : object.kept)
        saver.WriteKept(k);
    saver.End("GameObject");
    saver.End("Root");
    saver.Finish();
    return saver.Result();
}

bool ApplyEdit(GameObject& object, const FieldEdit& edit) {
    Factory* factory = Factory::Instance();
    return factory && factory->RebuildObject(object, ObjectText(object, &edit));
}

} // namespace Flurr
