#include "gdy_ModelLayerFragment.h"

#include <vector>

#include "gdy_ModelScene.h"
#include "gdy_ModelSceneManager.h"
#include "nex_Exception.h"
#include "oda_OdbIntObj.h"
#include "odb_Odb.h"
#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_ValueErrorException.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"

const omu_MemberRow gdy_ModelLayerFragment::members_[] = {
    {"displayedObject", omu_Getter<&gdy_ModelLayerFragment::GetObjectToDisplay>, nullptr,
     "XYPlot, Odb or None", "what the viewport shows"},
    {"step", omu_Getter<&gdy_ModelLayerFragment::GetStep>, nullptr, "str or int",
     "the model's step: a name or a 1-based number"},
    {"frame", omu_Getter<&gdy_ModelLayerFragment::GetFrame>, nullptr, "int",
     "the 0-based frame; -1 the last"},
    {"fieldVariable", omu_Getter<&gdy_ModelLayerFragment::GetFieldVariable>, nullptr, "str",
     "the field shown; by default the frame's first"},
    {"", nullptr, nullptr}};

namespace {
constexpr omu_Parameter kModelPositionParameters[] = {
    {"instance", "str", nullptr, "the instance"},
    {"node", "int", "None", "a node label"},
    {"element", "int", "None", "an element label"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kModelPosition{
    "The pixel of a node, or of the centre of an element's front face, of the model shown.",
    kModelPositionParameters, "tuple of two floats", omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow gdy_ModelLayerFragment::methods_[] = {
    {"modelPosition", omu_Method<&gdy_ModelLayerFragment::ModelPosition>, &kModelPosition},
    {"", nullptr}};

namespace {
cow_String Quoted(const cow_String& text) {
  return "'" + text + "'";
}

[[noreturn]] void Refuse(const char* keyword, const cow_String& why) {
  NEX_THROW(omu_ValueErrorException(cow_String(keyword) + ": " + why));
}

// The 0-based index of the step a script names by name or 1-based number.
int StepOf(const odb_Odb& odb, const omu_Primitive& value) {
  const std::vector<ddb_Step>& steps = odb.Steps();
  const long long count = static_cast<long long>(steps.size());
  if (value.Kind() == omu_PrimKind::String) {
    const cow_String& name = static_cast<const omu_PrimString&>(value).Value();
    cow_String names;
    for (std::size_t k = 0; k < steps.size(); ++k) {
      if (steps[k].name == name) return static_cast<int>(k);
      names += (k ? ", " : "") + Quoted(steps[k].name);
    }
    Refuse("step", Quoted(name) + " is not a step of the database" +
                       (steps.empty() ? cow_String(" (it has none)") : " (" + names + ")"));
  }
  if (value.Kind() == omu_PrimKind::Number &&
      static_cast<const omu_PrimNumber&>(value).IsInteger()) {
    const long long number = static_cast<const omu_PrimNumber&>(value).AsInteger();
    if (number >= 1 && number <= count) return static_cast<int>(number - 1);
    Refuse("step", cow_String::FromInt(number) + " is not a step number" +
                       (count ? " (1 to " + cow_String::FromInt(count) + ")"
                              : cow_String(" (the database has no step)")));
  }
  omu_ValueReader::RaiseWrongKind("'step'", "a step name or a 1-based step number", value);
}

cow_String FrameText(const ddb_Step& step, int frame) {
  return "frame " + cow_String::FromInt(frame) + " of step " + Quoted(step.name);
}
}  // namespace

gdy_ModelLayerFragment::gdy_ModelLayerFragment() {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> gdy_ModelLayerFragment::Copy() const {
  return std::unique_ptr<omu_InterfaceObj>(new gdy_ModelLayerFragment(*this));
}

bool gdy_ModelLayerFragment::CanDisplay(const omu_Primitive& object) const {
  std::shared_ptr<oda_OdbIntObj> odb;
  return omu_ValueReader::Read(object, odb);
}

cow_String gdy_ModelLayerFragment::DisplayedKind() const {
  return omu_ValueReader::Expected(std::shared_ptr<oda_OdbIntObj>());
}

gdy_ModelScene* gdy_ModelLayerFragment::ShownScene() const {
  gdy_ModelSceneManager* manager = gdy_ModelSceneManager::Instance();
  if (!manager ||
      smg_SceneManagerRole::Instance().GetTypeToDisplay(Viewport(), LayerName()) != omu_DISPLAY_ODB)
    return nullptr;
  auto* scene = static_cast<gdy_ModelScene*>(manager->FindScene(Viewport()));
  return scene && scene->Odb() ? scene : nullptr;
}

void gdy_ModelLayerFragment::SetObjectToDisplay(const omu_Primitive* object) {
  const int viewport = Viewport();
  gdy_ModelSceneManager* manager = gdy_ModelSceneManager::Instance();
  sesK_SessionState& state = sesK_SessionState::Instance();
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  if (!object) {
    if (manager)
      if (smg_Scene* scene = manager->FindScene(viewport))
        static_cast<gdy_ModelScene*>(scene)->ShowNothing();
    state.SetType(viewport, omu_DISPLAY_NONE);
    role.SetTypeToDisplay(omu_DISPLAY_NONE, viewport, LayerName());
    return;
  }
  std::shared_ptr<oda_OdbIntObj> shown;
  omu_ValueReader::Require(*object, shown, "'displayedObject'");
  const odb_Odb& odb = shown->Database();  // closed: odb_OdbException
  if (!manager) return;                    // the graphics library is down: nothing can show it
  gdy_ModelScene& scene = manager->Scene(viewport);
  scene.ShowOdb(odb.Path(), odb.Generation());
  // The viewport may have been resized while it showed something else.
  const smg_SceneManagerRole::Size size = role.ViewportSize(viewport);
  if (scene.Width() != static_cast<float>(size.width) ||
      scene.Height() != static_cast<float>(size.height))
    scene.Resize(static_cast<float>(size.width), static_cast<float>(size.height));
  state.SetType(viewport, omu_DISPLAY_ODB);
  state.SetPrimaryObjectPath(viewport, shown->Repr());
  role.SetTypeToDisplay(omu_DISPLAY_ODB, viewport, LayerName());
}

void gdy_ModelLayerFragment::ReadKeywords(omu_Arguments& args) {
  pending_ = Pending();
  const omu_Primitive* step = nullptr;
  if (args.Get(step, "step")) pending_.step = step->Clone();
  pending_.hasFrame = args.Get(pending_.frame, "frame");
  pending_.hasField = args.Get(pending_.field, "fieldVariable");
}

void gdy_ModelLayerFragment::CheckKeywords(bool showing, const omu_Primitive* shown) {
  pending_.showing = showing;
  pending_.checked = false;
  // The database the call leaves shown, and the choice the keywords start from.
  const odb_Odb* odb = nullptr;
  gdy_FieldChoice base;
  if (showing) {
    std::shared_ptr<oda_OdbIntObj> object;
    if (shown && omu_ValueReader::Read(*shown, object)) {
      odb = &object->Database();  // a closed one is refused before anything changes
      const gdy_ModelScene* scene = ShownScene();
      const bool same =
          scene && scene->OdbPath() == odb->Path() && scene->OdbGeneration() == odb->Generation();
      if (same) {
        base.step = scene->StepIndex();
        base.frame = scene->FrameIndex();
        base.field = scene->FieldLabel();
      } else {
        base = gdy_FieldChoice::Default(*odb);
      }
    }
  } else if (const gdy_ModelScene* scene = ShownScene()) {
    odb = scene->Odb();
    base.step = scene->StepIndex();
    base.frame = scene->FrameIndex();
    base.field = scene->FieldLabel();
  }
  const char* first = pending_.step       ? "step"
                      : pending_.hasFrame ? "frame"
                      : pending_.hasField ? "fieldVariable"
                                          : nullptr;
  if (!first) return;
  if (!odb) Refuse(first, "the viewport shows no results model");

  gdy_FieldChoice choice = base;
  if (pending_.step) choice.step = StepOf(*odb, *pending_.step);
  if (choice.step < 0) Refuse(first, "the database has no step");
  const ddb_Step& step = odb->Steps()[static_cast<std::size_t>(choice.step)];
  const int frames = static_cast<int>(step.frames.size());
  if (pending_.hasFrame) {
    const int frame = pending_.frame == -1 ? frames - 1 : pending_.frame;
    if (frame < 0 || frame >= frames)
      Refuse("frame",
             cow_String::FromInt(pending_.frame) + " is not a frame of step " + Quoted(step.name) +
                 (frames ? " (0 to " + cow_String::FromInt(frames - 1) + ", or -1 for the last)"
                         : cow_String(" (it has none)")));
    choice.frame = frame;
  } else if (choice.step != base.step) {
    choice.frame = gdy_FieldChoice::LastFrame(step);
  }
  const ddb_Frame* frame = gdy_FieldChoice::FrameOf(*odb, choice.step, choice.frame);
  if (pending_.hasField) {
    if (!frame || !gdy_FieldChoice::HasField(*frame, pending_.field)) {
      cow_String labels;
      std::vector<cow_String> seen;
      if (frame)
        for (const ddb_FieldOutput& field : frame->fields) {
          bool repeated = false;
          for (const cow_String& label : seen) repeated = repeated || label == field.label;
          if (repeated) continue;
          seen.push_back(field.label);
          labels += (labels.IsEmpty() ? "" : ", ") + Quoted(field.label);
        }
      Refuse("fieldVariable",
             Quoted(pending_.field) + " is not a field of " +
                 (frame ? FrameText(step, choice.frame) : "step " + Quoted(step.name)) +
                 (labels.IsEmpty() ? cow_String(" (it has none)") : " (" + labels + ")"));
    }
    choice.field = pending_.field;
  } else {
    choice.field = frame ? gdy_FieldChoice::FieldOf(*frame, base.field) : cow_String();
  }
  pending_.choice = choice;
  pending_.checked = true;
}

void gdy_ModelLayerFragment::ApplyKeywords() {
  const Pending pending = pending_;
  pending_ = Pending();
  gdy_ModelSceneManager* manager = gdy_ModelSceneManager::Instance();
  if (!manager) return;
  gdy_ModelScene* scene = ShownScene();
  if (!scene) {
    // Another module's object took the viewport: what the scene read of a database goes.
    if (smg_Scene* own = manager->FindScene(Viewport()))
      if (!static_cast<gdy_ModelScene*>(own)->OdbPath().IsEmpty())
        static_cast<gdy_ModelScene*>(own)->ShowNothing();
    return;
  }
  if (!pending.checked) return;
  const bool changed =
      scene->SetChoice(pending.choice.step, pending.choice.frame, pending.choice.field);
  // A new displayed object ended the mode already; a change of the field alone keeps it.
  if (changed && !pending.showing) gdy_ModelScene::FieldChanged(Viewport());
}

omu_Result gdy_ModelLayerFragment::GetObjectToDisplay() {
  const int viewport = Viewport();
  const int type = LayerName().IsEmpty()
                       ? sesK_SessionState::Instance().GetType(viewport)
                       : smg_SceneManagerRole::Instance().GetTypeToDisplay(viewport, LayerName());
  if (type == omu_DISPLAY_ODB) {
    if (const gdy_ModelScene* scene = ShownScene())
      return std::make_unique<omu_PrimType>(
          std::make_shared<oda_OdbIntObj>(scene->OdbPath(), scene->OdbGeneration()));
    return std::make_unique<omu_PrimNone>();
  }
  // What the other modules' fragments show (they were attached to this layer with this one).
  for (omu_InterfaceObj* fragment : omu_Fragment<sesK_LayerIntObj>::Attached()) {
    if (fragment == this) continue;
    const omu_InterfaceObj::Entry entry = fragment->Lookup("displayedObject");
    if (entry.kind != omu_InterfaceObj::EntryKind::Member || !entry.getter) continue;
    if (omu_Result result = entry.getter(*entry.target)) return result;
  }
  return std::make_unique<omu_PrimNone>();
}

omu_Result gdy_ModelLayerFragment::GetStep() {
  const gdy_ModelScene* scene = ShownScene();
  if (!scene || scene->StepIndex() < 0) return std::make_unique<omu_PrimNone>();
  return std::make_unique<omu_PrimString>(
      scene->Odb()->Steps()[static_cast<std::size_t>(scene->StepIndex())].name);
}

omu_Result gdy_ModelLayerFragment::GetFrame() {
  const gdy_ModelScene* scene = ShownScene();
  if (!scene || scene->FrameIndex() < 0) return std::make_unique<omu_PrimNone>();
  return std::make_unique<omu_PrimNumber>(scene->FrameIndex());
}

omu_Result gdy_ModelLayerFragment::GetFieldVariable() {
  const gdy_ModelScene* scene = ShownScene();
  if (!scene || scene->FieldLabel().IsEmpty()) return std::make_unique<omu_PrimNone>();
  return std::make_unique<omu_PrimString>(scene->FieldLabel());
}

omu_Result gdy_ModelLayerFragment::ModelPosition(omu_Arguments& args) {
  cow_String instanceName;
  int node = 0, element = 0;
  args.Begin();
  args.Get(instanceName, "instance");
  args.Optional();
  const bool byNode = args.Get(node, "node");
  const bool byElement = args.Get(element, "element");
  args.End();
  const gdy_ModelScene* scene = ShownScene();
  if (!scene)
    NEX_THROW(omu_ValueErrorException("modelPosition: the viewport shows no results model"));
  if (byNode == byElement)
    NEX_THROW(omu_ValueErrorException("modelPosition: give either node or element"));
  const odiK_Model& model = *scene->Model();
  const int instance = model.InstanceIndex(instanceName);
  if (instance < 0) Refuse("instance", Quoted(instanceName) + " is not an instance of the model");
  const odiK_PartInstance& part = model.instances[static_cast<std::size_t>(instance)];
  gdr_Point pixel;
  if (byNode) {
    const int index = part.NodeIndex(node);
    if (index < 0)
      Refuse("node",
             cow_String::FromInt(node) + " is not a node of instance " + Quoted(instanceName));
    if (!scene->NodePixel(instance, index, pixel))
      Refuse("node", "node " + cow_String::FromInt(node) + " has no finite coordinates");
  } else {
    const odiK_PartInstance::ElementRef ref = part.FindElement(element);
    if (ref.elementClass < 0)
      Refuse("element", cow_String::FromInt(element) + " is not an element of instance " +
                            Quoted(instanceName));
    if (!scene->ElementPixel(instance, ref.elementClass, ref.element, pixel))
      Refuse("element", "element " + cow_String::FromInt(element) + " is not drawn");
  }
  auto position = std::make_unique<omu_PrimTuple>();
  position->Append(std::make_unique<omu_PrimNumber>(pixel.x));
  position->Append(std::make_unique<omu_PrimNumber>(pixel.y));
  return position;
}
