#pragma once

#include "AssertionRecord.h"
#include "TypeName.h"

// Every contract check the program records, by what it guards. The file,
// line and function are the names the record has always carried for a check
// (see AssertionRecord.h): fixed values, not positions in today's sources,
// so editing a file never moves them. Code and tests name a check only
// through this table.

// A check inside a class template: the function recorded is
// `scope<T>member`, T spelled as our compiler prints it.
struct TemplateCheckSite {
  const char *file;
  int line;
  const char *scope;
  const char *member;
};

// Check for a template site; the name is built only when a failure is recorded.
template <class T>
bool Check(bool ok, const TemplateCheckSite &site) {
  if (!ok && AssertionRecord::installed)
    Check(false, CheckSite{site.file, site.line, InternName(InstanceName<T>(site.scope, site.member))});
  return ok;
}

namespace CheckSites {

// Counted pointers (the empty-pointer sites also guard every caller that
// reaches a target through one).
inline constexpr CheckSite kAssignWithoutSlot{"RCPtr", 61, "RCPtr_NS::RefCounterPtrAssign"};
inline constexpr TemplateCheckSite kCopyToWithoutDestination{"RCPtr", 228, "RCPtr_NS::RCPtrBase", "::CopyTo"};
inline constexpr TemplateCheckSite kCopyToFromEmpty{"RCPtr", 229, "RCPtr_NS::RCPtrBase", "::CopyTo"};
inline constexpr TemplateCheckSite kEmptyPointer{"RCPtr", 278, "RCPtr_NS::RCPtrV", "::operator ->"};
inline constexpr TemplateCheckSite kEmptyConstPointer{"RCPtr", 247, "RCPtr_NS::RCPtrC", "::operator ->"};

// Intrusive lists, one pair of sites per member type.
inline constexpr CheckSite kDeleteNotifyLinkedTwice{"LinkedList", 130,
                                                    "LinkedList<class CRefCounter::DeleteNotify>::Add"};
inline constexpr CheckSite kDeleteNotifyPastEnd{"LinkedList", 17,
                                                "LinkedListIterator<class CRefCounter::DeleteNotify>::operator *"};
inline constexpr CheckSite kUninitChildLinkedTwice{"LinkedList", 130,
                                                   "LinkedList<class UninitCaller_NS::UninitCallerChild>::Add"};
inline constexpr CheckSite kUninitChildPastEnd{
    "LinkedList", 17, "LinkedListIterator<class UninitCaller_NS::UninitCallerChild>::operator *"};

// Delegates.
inline constexpr TemplateCheckSite kBindBound{"Delegate", 201, "Delegate_NS::DelBase", "::Bind"};
inline constexpr TemplateCheckSite kBindStaticBound{"Delegate", 470, "Delegate_NS::DelBase", "::BindS"};
inline constexpr TemplateCheckSite kBindCountedBound{"DelegateRC", 93, "DelegateRC", "::Bind"};
inline constexpr TemplateCheckSite kCallUnboundVoid{"Delegate_N1", 52, "Delegate", "::operator ()"};
inline constexpr TemplateCheckSite kCallUnboundValue{"Delegate_N1", 33, "Delegate", "::operator ()"};
inline constexpr CheckSite kBindMemberNullObject{"Delegate", 282, "Delegate_NS::Bind_Map_Member"};
inline constexpr CheckSite kBindMemberObjectSet{"Delegate", 287, "Delegate_NS::Bind_Map_Member"};
inline constexpr CheckSite kBindMemberInvokerSet{"Delegate", 288, "Delegate_NS::Bind_Map_Member"};
inline constexpr CheckSite kBindStaticObjectSet{"Delegate", 319, "Delegate_NS::Bind_Map_Static"};
inline constexpr CheckSite kBindStaticInvokerSet{"Delegate", 320, "Delegate_NS::Bind_Map_Static"};
inline constexpr CheckSite kConstantsAttachedTwice{"Delegate_RefCount", 119,
                                                   "Delegate_NS::Ptr<struct Delegate_NS::PtrBase>::Attach"};

// Ordered tear-down.
inline constexpr CheckSite kChildWithoutParent{"UninitCaller", 14,
                                               "UninitCaller_NS::UninitCallerChild::UninitCallerChild"};
inline constexpr CheckSite kAddAfterTearDown{"UninitCaller", 106, "UninitCaller_NS::UninitCallerParent::Add"};
inline constexpr CheckSite kResidentWithoutParent{"UninitCaller", 165, "UninitResident::operator class UninitCaller *"};
inline constexpr CheckSite kResidentWithoutRoot{"UninitCaller", 167, "UninitResident::operator class UninitCaller *"};
inline constexpr CheckSite kResidentLeftBeforeUninit{"UninitCaller", 209, "UninitResident::Internal::ClearParent"};
inline constexpr CheckSite kResidentLeftBeforeRelease{"UninitCaller", 212, "UninitResident::Internal::ClearParent"};

// Timers and the event loop.
inline constexpr CheckSite kTimerNodeWithoutCalls{"TimerNode", 11, "TimerNode::TimerNode"};
inline constexpr CheckSite kSecondTimerDefault{"TimerDefault_Manager", 9, "TimerDefault_Manager::TimerDefault_Manager"};
inline constexpr CheckSite kNoTimerDefault{"TimerDefault_Manager", 40, "TimerDefault_Manager::CreateTimerCalls"};
inline constexpr CheckSite kMessageHookTaken{"EventLoop", 30, "EventLoop::AddMessage"};
inline constexpr CheckSite kTooManyHandles{"EventLoop", 36, "EventLoop::AddEventHandle"};

// Filters and the sample FIFO.
inline constexpr CheckSite kFilterDestroyedRunning{"BaseFilter", 18, "BaseFilter::~BaseFilter"};
inline constexpr CheckSite kFilterDestroyedPlugged{"BaseFilter", 21, "BaseFilter::~BaseFilter"};
inline constexpr CheckSite kUnplugAllFailed{"BaseFilter", 33, "BaseFilter::UnplugAll"};
inline constexpr CheckSite kPinRefusedPosition{"BaseFilter", 51, "BaseFilter::SetStartPosition"};
inline constexpr CheckSite kPinRefusedEvent{"BaseFilter", 97, "BaseFilter::NotifyEvent"};
inline constexpr CheckSite kFilterStartNotStopped{"BaseFilter", 110, "BaseFilter::Start"};
inline constexpr CheckSite kFilterStartWithoutPosition{"BaseFilter", 112, "BaseFilter::Start"};
inline constexpr CheckSite kPinRefusedStart{"BaseFilter", 117, "BaseFilter::Start"};
inline constexpr CheckSite kPinRefusedStop{"BaseFilter", 136, "BaseFilter::Stop"};
inline constexpr CheckSite kFilterWriteNotRunning{"BaseFilter", 150, "BaseFilter::WriteSample"};
inline constexpr CheckSite kPinRefusedSample{"BaseFilter", 155, "BaseFilter::WriteSample"};
inline constexpr CheckSite kPlugInvalidPin{"BaseFilter", 171, "BaseFilter::PlugPin"};
inline constexpr CheckSite kPlugWhileRunning{"BaseFilter", 177, "BaseFilter::PlugPin"};
inline constexpr CheckSite kPlugTwice{"BaseFilter", 182, "BaseFilter::PlugPin"};
inline constexpr CheckSite kUnplugWhileRunning{"BaseFilter", 199, "BaseFilter::UnplugPin"};
inline constexpr CheckSite kUnplugUnknownPin{"BaseFilter", 206, "BaseFilter::UnplugPin"};
inline constexpr CheckSite kFilterIsNoMoreData{"BaseFilter", 246, "BaseFilter::IsNoMoreData"};
inline constexpr CheckSite kFilterGetWaveFormat{"BaseFilter", 235, "BaseFilter::GetWaveFormat"};
inline constexpr CheckSite kFilterPush{"BaseFilter", 240, "BaseFilter::Push"};
inline constexpr CheckSite kFifoReadPastEnd{"Fifo2", 90, "Fifo2::ReadNextBytes"};

// Pitch measurement.
inline constexpr CheckSite kUnknownNameStyle{"MidiTypes", 52, "SetPitchNameStyle"};
inline constexpr CheckSite kNoteOutOfRange{"MidiTypes", 159, "GetPitchName"};
inline constexpr CheckSite kNegativePitchClass{"MidiTypes", 166, "GetPitchShortName"};
inline constexpr CheckSite kResultsWithoutSample{"SampleDataPack", 11, "GetSampleSPLResults"};
inline constexpr CheckSite kResultsWithoutData{"SampleDataPack", 14, "GetSampleSPLResults"};
inline constexpr CheckSite kMeasurerInitFailed{"MeasurerBase", 36, "Measure::MeasurerBase::Init"};
inline constexpr CheckSite kMeasurerWriteNull{"MeasurerBase", 34, "Measure::MeasurerBase::WriteSample"};
inline constexpr CheckSite kMeasurerWriteNotRunning{"MeasurerBase", 91, "Measure::MeasurerBase::WriteSample"};
inline constexpr CheckSite kMeasurerStartFailed{"MeasurerBase", 58, "Measure::MeasurerBase::Start"};
inline constexpr CheckSite kBlockNotProcessed{"MeasurerBase", 140, "Measure::MeasurerBase::ProcessAllData"};
inline constexpr CheckSite kResultsNotSent{"MeasurerBase", 214, "Measure::MeasurerBase::SendResults"};

// Wave format and devices.
inline constexpr CheckSite kPartialSample{"TWaveFormatEx", 40, "TWaveFormatEx::SampleSizeToSampleCount"};
inline constexpr CheckSite kCaptureInitNotClosed{"WaveIn", 42, "WaveIn::Init"};
inline constexpr CheckSite kCaptureInitWithoutHandler{"WaveIn", 43, "WaveIn::Init"};
inline constexpr CheckSite kCaptureOpenFailed{"WaveIn", 61, "WaveIn::Init"};
inline constexpr CheckSite kCaptureStartNotOpen{"WaveIn", 87, "WaveIn::Start"};
inline constexpr CheckSite kCaptureStartFailed{"WaveIn", 100, "WaveIn::Start"};
inline constexpr CheckSite kCapturePrepareFailed{"WaveIn", 150, "WaveIn::AddHeader"};
inline constexpr CheckSite kCaptureAddBufferFailed{"WaveIn", 152, "WaveIn::AddHeader"};
inline constexpr CheckSite kCaptureWithoutHandler{"WaveIn", 238, "WaveIn::ProcessEvent"};
inline constexpr CheckSite kCaptureStopNotCapturing{"WaveIn", 110, "WaveIn::Stop"};
inline constexpr CheckSite kCaptureResetFailed{"WaveIn", 114, "WaveIn::Stop"};
inline constexpr CheckSite kCaptureUnprepareFailed{"WaveIn", 126, "WaveIn::Stop"};
inline constexpr CheckSite kPlaybackInitNotClosed{"WaveOutEvent", 22, "WaveOutEvent::Init"};
inline constexpr CheckSite kPlaybackOpenFailed{"WaveOutEvent", 29, "WaveOutEvent::Init"};
inline constexpr CheckSite kPlaybackStartNotOpen{"WaveOut", 43, "WaveOut::Start"};
inline constexpr CheckSite kPlaybackWriteNotPlaying{"WaveOut", 100, "WaveOut::WriteSample"};
inline constexpr CheckSite kPlaybackPrepareFailed{"WaveOut", 105, "WaveOut::WriteSample"};
inline constexpr CheckSite kPlaybackWriteFailed{"WaveOut", 107, "WaveOut::WriteSample"};
inline constexpr CheckSite kPlaybackStopNotPlaying{"WaveOut", 52, "WaveOut::Stop"};
inline constexpr CheckSite kPlaybackResetFailed{"WaveOut", 56, "WaveOut::Stop"};
inline constexpr CheckSite kPlaybackUnprepareFailed{"WaveOut", 68, "WaveOut::Stop"};

// The reference tone.
inline constexpr CheckSite kLevelOutOfRange{"SynthesizerSimple", 106, "SynthesizerSimple::Render16m"};

// Drawing objects and the tuner view.
inline constexpr CheckSite kFontNotDeleted{"SmartGdiObject", 25,
                                           "PaintProcs::SmartGdiObject<struct HFONT__ *>::~SmartGdiObject"};
inline constexpr CheckSite kPenNotDeleted{"SmartGdiObject", 25,
                                          "PaintProcs::SmartGdiObject<struct HPEN__ *>::~SmartGdiObject"};
inline constexpr CheckSite kBrushNotDeleted{"SmartGdiObject", 25,
                                            "PaintProcs::SmartGdiObject<struct HBRUSH__ *>::~SmartGdiObject"};
inline constexpr CheckSite kSelectWhileSelected{"GdiObjSelect", 79, "PaintProcs::GdiObjSelect::Select"};
inline constexpr CheckSite kSelectPenWhileSelected{"GdiObjSelect", 94, "PaintProcs::GdiObjSelect::SelectPen"};
inline constexpr CheckSite kSelectBrushWhileSelected{"GdiObjSelect", 105, "PaintProcs::GdiObjSelect::SelectBrush"};
inline constexpr CheckSite kPenSwappedMeanwhile{"GdiObjSelect", 62, "PaintProcs::GdiObjSelect::~GdiObjSelect"};
inline constexpr CheckSite kBrushSwappedMeanwhile{"GdiObjSelect", 72, "PaintProcs::GdiObjSelect::~GdiObjSelect"};
inline constexpr CheckSite kFontSelectWhileSelected{"GdiFontSelect", 149, "PaintProcs::GdiFontSelect::Select"};
inline constexpr CheckSite kFontSwappedMeanwhile{"GdiFontSelect", 142, "PaintProcs::GdiFontSelect::~GdiFontSelect"};
inline constexpr CheckSite kZoomStepWhileIdle{"DrovaneView_H", 498, "DrovaneView_H::DS_On_Transit_Transit"};
inline constexpr CheckSite kHighlightNotPending{"DrovaneView_H", 558, "DrovaneView_H::HN_Do_Highlight_Start"};
inline constexpr CheckSite kStringCountRefused{"DrovaneView_H", 366, "DrovaneView_H::SetStringNotes"};
inline constexpr CheckSite kStringIndexOutOfRange{"DrovaneView_H", 268, "DrovaneView_H::SetStringSelectIndex"};
inline constexpr CheckSite kNoteOfNoString{"DrovaneView_H", 283, "DrovaneView_H::SetStringSelect"};
inline constexpr CheckSite kNoStringSelected{"DrovaneView_H", 327, "DrovaneView_H::GetStringSelect"};

// The application.
inline constexpr CheckSite kSecondGlobals{"DrovaneMob", 61, "Globals::Globals"};
inline constexpr CheckSite kMenuBarNotCreated{"CreateMenuBar", 25, "CreateMenuBar"};

}  // namespace CheckSites
