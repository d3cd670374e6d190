// Thompson-style compilation of the syntax tree into Pike VM instructions. Alternatives and
// repetitions become kSplit instructions whose `next` branch is the preferred one, which is what
// gives the matcher leftmost-first (backtracking-equivalent) priorities.
#include "core/regex/compiler.h"

#include "core/regex/regex_error.h"

namespace veltrin::regex {
namespace {

Inst MakeInst(Op op, uint32_t arg = 0) {
  Inst inst;
  inst.op = op;
  inst.arg = arg;
  return inst;
}

Inst MakeUnit(char16_t unit) {
  Inst inst = MakeInst(Op::kUnit);
  inst.unit = unit;
  return inst;
}

Inst MakeAssert(Assertion assertion) {
  Inst inst = MakeInst(Op::kAssert);
  inst.assertion = assertion;
  return inst;
}

class Compiler {
 public:
  explicit Compiler(SyntaxTree& tree) : tree_(tree) {}

  Program Run() {
    program_.group_count = tree_.group_count;
    program_.slot_count = 2 * (tree_.group_count + 1);
    Emit(MakeInst(Op::kSave, 0), 0);
    Compile(tree_.root);
    Emit(MakeInst(Op::kSave, 1), 0);
    Emit(MakeInst(Op::kMatch), 0);
    program_.classes = std::move(tree_.classes);
    BuildPrefilter();
    return std::move(program_);
  }

 private:
  uint32_t Pc() const { return static_cast<uint32_t>(program_.insts.size()); }

  // Appends an instruction that by default falls through to the one after it.
  uint32_t Emit(Inst inst, size_t position) {
    if (program_.insts.size() >= kMaxProgramSize) throw RegexError("pattern too large", position);
    const uint32_t pc = Pc();
    if (inst.op != Op::kSplit && inst.op != Op::kJump) inst.next = pc + 1;
    program_.insts.push_back(inst);
    return pc;
  }

  void Compile(uint32_t index) {
    const Node& node = tree_.nodes[index];
    switch (node.kind) {
      case NodeKind::kEmpty:
        break;
      case NodeKind::kUnit:
        Emit(MakeUnit(node.unit), node.position);
        break;
      case NodeKind::kClass:
        Emit(MakeInst(Op::kClass, node.class_index), node.position);
        break;
      case NodeKind::kAnyButLf:
        Emit(MakeInst(Op::kAnyButLf), node.position);
        break;
      case NodeKind::kAssert:
        Emit(MakeAssert(node.assertion), node.position);
        break;
      case NodeKind::kCapture:
        Emit(MakeInst(Op::kSave, 2 * node.group), node.position);
        Compile(node.children[0]);
        Emit(MakeInst(Op::kSave, 2 * node.group + 1), node.position);
        break;
      case NodeKind::kConcat:
        for (uint32_t child : node.children) Compile(child);
        break;
      case NodeKind::kAlternate:
        CompileAlternate(node);
        break;
      case NodeKind::kRepeat:
        CompileRepeat(node);
        break;
    }
  }

  void CompileAlternate(const Node& node) {
    std::vector<uint32_t> jumps;
    for (size_t i = 0; i + 1 < node.children.size(); ++i) {
      const uint32_t split = Emit(MakeInst(Op::kSplit), node.position);
      program_.insts[split].next = Pc();
      Compile(node.children[i]);
      jumps.push_back(Emit(MakeInst(Op::kJump), node.position));
      program_.insts[split].arg = Pc();
    }
    Compile(node.children.back());
    for (uint32_t jump : jumps) program_.insts[jump].next = Pc();
  }

  // Points a split at the body and the exit in the order the repetition prefers.
  void Aim(uint32_t split, uint32_t body, uint32_t exit, bool greedy) {
    program_.insts[split].next = greedy ? body : exit;
    program_.insts[split].arg = greedy ? exit : body;
  }

  void CompileRepeat(const Node& node) {
    const uint32_t child = node.children[0];
    for (int i = 0; i < node.min; ++i) Compile(child);
    if (node.max == kUnbounded) {
      const uint32_t split = Emit(MakeInst(Op::kSplit), node.position);
      Compile(child);
      const uint32_t jump = Emit(MakeInst(Op::kJump), node.position);
      program_.insts[jump].next = split;
      Aim(split, split + 1, Pc(), node.greedy);
      return;
    }
    // x{n,m}: the optional copies nest, so each one is tried only after the previous matched.
    std::vector<uint32_t> splits;
    for (int i = node.min; i < node.max; ++i) {
      splits.push_back(Emit(MakeInst(Op::kSplit), node.position));
      Compile(child);
    }
    for (uint32_t split : splits) Aim(split, split + 1, Pc(), node.greedy);
  }

  // Every match begins with the literal units that open the pattern, or failing that with one of
  // the units that the start's empty closure can consume.
  void BuildPrefilter() {
    std::u16string prefix;
    const Node& root = tree_.nodes[tree_.root];
    if (root.kind == NodeKind::kUnit) prefix.push_back(root.unit);
    if (root.kind == NodeKind::kConcat) {
      for (uint32_t child : root.children) {
        if (tree_.nodes[child].kind != NodeKind::kUnit) break;
        prefix.push_back(tree_.nodes[child].unit);
      }
    }
    if (!prefix.empty()) {
      program_.prefilter.SetPrefix(std::move(prefix));
      return;
    }
    CharClass first;
    std::vector<bool> seen(program_.insts.size());
    std::vector<uint32_t> stack{0};
    while (!stack.empty()) {
      const uint32_t pc = stack.back();
      stack.pop_back();
      if (seen[pc]) continue;
      seen[pc] = true;
      const Inst& inst = program_.insts[pc];
      switch (inst.op) {
        case Op::kMatch:
        case Op::kAnyButLf:
          return;  // a match may be empty, or start almost anywhere
        case Op::kUnit:
          first.AddUnit(inst.unit);
          break;
        case Op::kClass:
          first.AddClass(program_.classes[inst.arg]);
          break;
        case Op::kSplit:
          stack.push_back(inst.arg);
          stack.push_back(inst.next);
          break;
        case Op::kJump:
        case Op::kSave:
        case Op::kAssert:
          stack.push_back(inst.next);
          break;
      }
    }
    first.Seal();
    if (first.Size() < 0x8000) program_.prefilter.SetFirstUnits(first);
  }

  SyntaxTree& tree_;  // the tree being compiled; its classes move into the program
  Program program_;   // the result under construction
};

}  // namespace

Program CompileProgram(SyntaxTree tree) {
  return Compiler(tree).Run();
}

}  // namespace veltrin::regex
