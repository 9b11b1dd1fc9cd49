# Reads a CocoaPods Podfile as Ruby and lists the pods one app target gets,
# or adds and removes that target's pod lines in place.
#
#   ruby PodfileEditor.rb list PODFILE TARGET
#   ruby PodfileEditor.rb edit PODFILE TARGET [--add NAME]... [--add-local NAME=PATH]... [--remove NAME]...
#
# The file is parsed with Ripper, never matched with patterns: a pod is a
# `pod` call whose first argument is a plain string literal, a target is a
# `target 'NAME' do ... end` (or "NAME", :NAME, parentheses, { ... }) block at
# any depth.
#
# list prints NAME<TAB>SCOPE<TAB>DECLARATION for each pod TARGET gets, in the
# order of the file. SCOPE is "own" for a call directly in TARGET's block
# (not in a target nested in it) and "inherited" for one in an enclosing
# target or abstract_target block, at the top level, or in a method defined
# with `def` that TARGET's block or an enclosing one calls by bare name.
#
# edit adds `pod 'NAME'` (resp. `pod 'NAME', :path => 'PATH'`) for each pod
# TARGET does not get yet: after the last own pod below a "# Default pods"
# line, else after the last own pod, else before the first nested target or
# the block's `end`, indented like the line above. It removes every line of
# each own `pod` call named by --remove; a pod TARGET inherits is left and
# said so. A name both added and removed is kept. Every other byte of the
# file stays as it was; the result must parse before it replaces the file
# (through a temporary file in the same folder), and it is written only when
# it differs.
#
# Exit status: 0 done (or nothing to do), 1 the Podfile cannot be read,
# parsed or changed as asked (it is left as it was), 2 a refused pod name or
# path (nothing is done), 64 wrong usage.
#
# From Ruby: require_relative 'PodfileEditor', then
# PodfileEditor.pods_for(text, 'App') gives the pods as PodfileEditor::Pod.
require 'ripper'

module PodfileEditor
  USAGE = 'usage: ruby PodfileEditor.rb list PODFILE TARGET | edit PODFILE TARGET ' \
          '[--add NAME]... [--add-local NAME=PATH]... [--remove NAME]...'.freeze
  # A part made only of dots (".", "..") is a path, not a pod.
  POD_NAME = %r{\A(?!\.+(?:/|\z))[A-Za-z0-9_.+-]+(?:/(?!\.+(?:/|\z))[A-Za-z0-9_.+-]+)*\z}.freeze
  MARKER = '# Default pods'.freeze

  # The Podfile cannot be read, parsed or changed as asked (exit status 1).
  class Failure < StandardError; end
  # The text is not Ruby; `line` and `detail` as the parser reports them.
  class ParseError < Failure
    attr_reader :detail

    def initialize(line, detail)
      @detail = line ? "line #{line}: #{detail}" : detail
      super("the Podfile does not parse as Ruby: #{@detail}")
    end
  end
  # A pod name or path that would not be a plain Ruby string (exit status 2).
  class Refusal < StandardError; end
  # Unknown command or option, missing arguments (exit status 64).
  class UsageError < StandardError; end

  # A pod the target gets: its name, :own or :inherited, the call's source
  # on one line, and the Range of the call's lines (counted from 1). `call`
  # holds where the call lies in the file.
  Pod = Struct.new(:name, :scope, :declaration, :lines, :call)

  module_function

  def pods_for(text, target)
    podfile = Podfile.new(text)
    podfile.pods(podfile.target(target))
  end

  # One token of Ripper.lex with its place in the token list.
  Token = Struct.new(:index, :line, :column, :type, :text, :state) do
    def keyword?(*words)
      type == :on_kw && words.include?(text)
    end

    def last_line
      line + text.chomp.count("\n")
    end
  end

  # The tokens of the file, with the bracket and keyword pairs that open and
  # close each construct (`do`/`end`, `(`/`)`, ...) and, for every token,
  # the opening token of the innermost construct around it.
  class Source
    BLANK = %i[on_sp on_nl on_ignored_nl on_comment on_embdoc_beg on_embdoc on_embdoc_end].freeze
    NOT_CODE = (BLANK + %i[on_semicolon]).freeze
    STATEMENT_ENDS = %i[on_nl on_semicolon on_comment on_embdoc_beg on___end__].freeze
    OPENERS = %i[on_lparen on_lbracket on_lbrace on_tlambeg on_embexpr_beg].freeze
    CLOSERS = %i[on_rparen on_rbracket on_rbrace on_embexpr_end].freeze
    MODIFIERS = %w[if unless while until rescue].freeze
    LOOPS = %w[while until for].freeze

    attr_reader :lines, :tokens

    def initialize(text)
      @lines = text.lines
      @tokens = Ripper.lex(text).each_with_index.map do |(position, type, token_text, state), index|
        Token.new(index, position[0], position[1], type, token_text, state.respond_to?(:to_int) ? state.to_int : 0)
      end
      @at = {}
      @tokens.each { |token| @at[[token.line, token.column]] = token }
      pair_up
    end

    def token_at(position)
      @at[position]
    end

    def partner(token)
      @tokens[@partner.fetch(token.index)]
    end

    def parent_index(token)
      @parent[token.index]
    end

    # The `do` or `{` that opens the block of the call named by `name_token`.
    def block_opener(name_token, kind)
      wanted = kind == :brace_block ? :on_lbrace : :on_kw
      @tokens[name_token.index + 1..-1].find do |token|
        token.type == wanted && (wanted == :on_lbrace || token.text == 'do') &&
          @parent[token.index] == @parent[name_token.index] && @partner.key?(token.index)
      end
    end

    # The index of the last token of the call that starts at `start` and
    # whose parsed parts reach to `inner_last`: brackets and strings are
    # followed to their end. With `whole_statement` a modifier (`if`,
    # `unless`, ...) after the call belongs to it as well.
    def call_end(start, inner_last, whole_statement)
      last = start
      index = start
      while (index += 1) < @tokens.size
        token = @tokens[index]
        break if @closers.key?(index)
        break if index > inner_last && (STATEMENT_ENDS.include?(token.type) || (!whole_statement && modifier?(token)))

        index = @partner.fetch(index, index)
        last = index unless BLANK.include?(token.type)
      end
      last
    end

    # Whether the tokens from `first` to `last` are the only code on their
    # lines (comments, blanks and semicolons aside).
    def alone_on_lines?(first, last)
      lines = @tokens[first].line..@tokens[last].last_line
      @tokens.none? do |token|
        (token.index < first || token.index > last) && lines.cover?(token.line) && !NOT_CODE.include?(token.type)
      end
    end

    def code_line?(number)
      @code_lines ||= @tokens.reject { |token| NOT_CODE.include?(token.type) }.map { |token| [token.line, true] }.to_h
      @code_lines.key?(number)
    end

    # The source of the tokens, its lines trimmed and joined by single
    # spaces, without comments.
    def text_between(first, last)
      @tokens[first..last].map do |token|
        token.type == :on_comment || (token.type == :on_sp && token.text.include?("\\\n")) ? "\n" : token.text
      end.join.split(/\r?\n/).map(&:strip).reject(&:empty?).join(' ')
    end

    # The line's leading blanks.
    def indentation(number)
      @lines[number - 1][/\A[ \t]*/]
    end

    def line_ending(number)
      @lines[number - 1][/\r?\n\z/] || "\n"
    end

    def modifier?(token)
      token.keyword?(*MODIFIERS) && (token.state & Ripper::EXPR_LABEL) != 0
    end

    private

    def pair_up
      @partner = {}
      @parent = {}
      @closers = {}
      stack = []
      loop_header = nil # the depth of a while/until/for whose `do` opens nothing
      @tokens.each do |token|
        @parent[token.index] = stack.last
        if opens?(token, loop_header == stack.size)
          stack.push(token.index)
          loop_header = stack.size if token.keyword?(*LOOPS)
        elsif closes?(token) && !stack.empty?
          @partner[stack.pop] = token.index
          @closers[token.index] = true
          @parent[token.index] = stack.last
        elsif loop_header == stack.size && (STATEMENT_ENDS.include?(token.type) || token.keyword?('do'))
          loop_header = nil
        end
      end
    end

    def opens?(token, in_loop_header)
      return true if OPENERS.include?(token.type)
      return false if token.type != :on_kw || method_name?(token)

      case token.text
      when 'if', 'unless', 'while', 'until' then !modifier?(token)
      when 'do' then !in_loop_header
      when 'def' then !endless_def?(token)
      when 'class', 'module', 'begin', 'case', 'for' then true
      else false
      end
    end

    def closes?(token)
      CLOSERS.include?(token.type) || (token.keyword?('end') && !method_name?(token))
    end

    # A keyword used as a name: `:end`, `def end`, `self.class`.
    def method_name?(token)
      return true if (token.state & Ripper::EXPR_ENDFN) != 0

      before = previous_code(token.index)
      before && (%i[on_symbeg on_period].include?(before.type) || %w[&. ::].include?(before.text))
    end

    # `def name = value` and `def name(arguments) = value` have no `end`.
    def endless_def?(def_token)
      index = next_code(def_token.index)
      index = next_code(next_code(index)) if index && next_code(index) && @tokens[next_code(index)].type == :on_period
      index = index && next_code(index)
      index = next_code(closing_paren(index)) if index && @tokens[index].type == :on_lparen
      !index.nil? && @tokens[index].type == :on_op && @tokens[index].text == '='
    end

    def closing_paren(index)
      depth = 0
      @tokens[index..-1].each do |token|
        depth += 1 if token.type == :on_lparen
        depth -= 1 if token.type == :on_rparen
        return token.index if depth.zero?
      end
      nil
    end

    def next_code(index)
      return nil if index.nil?

      found = @tokens[index + 1..-1].find { |token| token.type != :on_sp }
      found && found.index
    end

    def previous_code(index)
      (index - 1).downto(0) do |other|
        return @tokens[other] unless BLANK.include?(@tokens[other].type)
      end
      nil
    end
  end

  # A target or abstract_target block, a method defined with `def`, or the
  # file's top level: the pod calls and bare-name calls directly in it.
  Scope = Struct.new(:kind, :name, :parent, :name_token, :open_token, :close_token, :pods, :calls, :children)

  # Where a pod call lies: its first and last token, the last token of its
  # statement (modifiers included), and whether it stands as a statement of
  # its own rather than inside an expression.
  Call = Struct.new(:name, :scope, :first, :last, :statement_last, :statement)

  # Walks the tree of Ripper.sexp and sorts targets, methods and pod calls
  # into scopes.
  class Collector
    # The child of these nodes that is a list of statements.
    STATEMENT_LISTS = { program: 1, bodystmt: 1, brace_block: 2, if: 2, unless: 2, elsif: 2, else: 1, while: 2,
                        until: 2, when: 2, in: 2, ensure: 1, rescue: 3, for: 3 }.freeze
    # The child of these nodes that is a statement when the node is one.
    MODIFIED = { if_mod: 2, unless_mod: 2, while_mod: 2, until_mod: 2, rescue_mod: 1 }.freeze
    TARGET_CALLS = { 'target' => :target, 'abstract_target' => :abstract_target }.freeze

    attr_reader :root, :methods

    def initialize(source, tree)
      @source = source
      @root = Scope.new(:root, nil, nil, nil, nil, nil, [], [], [])
      @methods = Hash.new { |hash, name| hash[name] = [] }
      visit(tree, @root, false)
    end

    private

    def visit(node, scope, statement)
      return unless node.is_a?(Array)

      head = node.first
      return node.each { |child| visit(child, scope, statement) } unless head.is_a?(Symbol)
      return if head.to_s.start_with?('@') || head == :defs
      return define(node) if head == :def
      return if head == :method_add_block && enter_target(node, scope)

      name_token = bare_call_name(node)
      return record_pod(node, name_token, scope, statement) if name_token && name_token[1] == 'pod'

      scope.calls << name_token[1] if name_token
      node.each_with_index do |child, index|
        visit(child, scope, MODIFIED[head] == index ? statement : STATEMENT_LISTS[head] == index) if index.positive?
      end
    end

    def define(node)
      name = node[1].is_a?(Array) ? node[1][1] : nil
      scope = Scope.new(:def, name, nil, nil, nil, nil, [], [], [])
      @methods[name] << scope
      visit(node[3], scope, false)
    end

    def enter_target(node, scope)
      call = node[1]
      block = node[2]
      name_token = bare_call_name(call)
      kind = name_token && TARGET_CALLS[name_token[1]]
      return false unless kind && block.is_a?(Array) && %i[do_block brace_block].include?(block.first)

      start = @source.token_at(name_token[2])
      opener = start && @source.block_opener(start, block.first)
      return false unless opener

      child = Scope.new(kind, literal(first_argument(call)), scope, start, opener, @source.partner(opener), [], [], [])
      scope.children << child
      visit(block, child, false)
      true
    end

    def record_pod(node, name_token, scope, statement)
      name = literal(first_argument(node))
      first = @source.token_at(name_token[2])
      return unless name && first

      inner_last = positions(node).map { |position| @source.token_at(position) }.compact.map(&:index).max
      scope.pods << Call.new(name, scope, first.index, @source.call_end(first.index, inner_last, false),
                             @source.call_end(first.index, inner_last, true), statement)
    end

    # The name token ([:@ident, name, position]) of a call without a
    # receiver: `name`, `name(...)`, `name arguments`.
    def bare_call_name(node)
      return nil unless node.is_a?(Array)

      token = case node.first
              when :command, :vcall, :fcall then node[1]
              when :method_add_arg then node[1].is_a?(Array) && node[1].first == :fcall ? node[1][1] : nil
              end
      token.is_a?(Array) && token.first == :@ident ? token : nil
    end

    def first_argument(call)
      arguments = case call.first
                  when :command then call[2]
                  when :method_add_arg then call[2]
                  end
      arguments = arguments[1] while arguments.is_a?(Array) && %i[args_add_block arg_paren].include?(arguments.first)
      arguments.is_a?(Array) && arguments.first.is_a?(Array) ? arguments.first : nil
    end

    # The text of a string or symbol literal without interpolation or
    # escapes; nil for anything else.
    def literal(node)
      return nil unless node.is_a?(Array)

      case node.first
      when :string_literal, :dyna_symbol then plain_text(node[1])
      when :symbol_literal
        symbol = node[1]
        symbol.is_a?(Array) && symbol.first == :symbol && symbol[1].is_a?(Array) ? symbol[1][1] : nil
      end
    end

    def plain_text(content)
      return nil unless content.is_a?(Array) && content.first == :string_content && content.size == 2

      part = content[1]
      return nil unless part.is_a?(Array) && part.first == :@tstring_content && !part[1].include?('\\')

      part[1]
    end

    def positions(node)
      return [] unless node.is_a?(Array)
      return [node[2]] if node.first.is_a?(Symbol) && node.first.to_s.start_with?('@')

      node.flat_map { |child| positions(child) }
    end
  end

  # A parsed Podfile: its targets, and the pods each gets.
  class Podfile
    BOM = "\uFEFF".freeze

    attr_reader :source, :bom

    def initialize(text)
      @bom = text.start_with?(BOM) ? BOM : ''
      body = text[@bom.length..-1]
      tree = Podfile.parse(body)
      @source = Source.new(body)
      collector = Collector.new(@source, tree)
      @root = collector.root
      @methods = collector.methods
    end

    def self.parse(text)
      parser = Parser.new(text)
      tree = parser.parse
      return tree unless parser.error? || tree.nil?

      raise ParseError.new(*(parser.failure || [nil, 'syntax error']))
    end

    def target(name)
      found = targets.find { |scope| scope.kind == :target && scope.name == name }
      return found if found

      names = targets.select { |scope| scope.kind == :target }.map(&:name).compact
      raise Failure, "the Podfile has no block for target '#{name}' (its targets: #{names.empty? ? 'none' : names.join(', ')})"
    end

    def targets(scope = @root)
      scope.children.flat_map { |child| [child] + targets(child) }
    end

    # The pods the target gets, in the order of the file.
    def pods(target)
      found = {}
      target.pods.each { |call| found[call.first] = pod(call, :own) }
      enclosing = []
      scope = target
      enclosing << scope while (scope = scope.parent)
      enclosing.each { |outer| outer.pods.each { |call| found[call.first] ||= pod(call, :inherited) } }
      helper_calls(([target] + enclosing).flat_map(&:calls)).each { |call| found[call.first] ||= pod(call, :inherited) }
      found.values.sort_by { |entry| entry.call.first }
    end

    private

    # The pod calls of the methods called by these names, and of the methods
    # those call in turn.
    def helper_calls(names)
      seen = {}
      pending = names.dup
      calls = []
      until pending.empty?
        name = pending.shift
        next if seen[name] || !@methods.key?(name)

        seen[name] = true
        @methods[name].each do |method|
          calls.concat(method.pods)
          pending.concat(method.calls)
        end
      end
      calls
    end

    def pod(call, scope)
      tokens = @source.tokens
      Pod.new(call.name, scope, @source.text_between(call.first, call.last),
              tokens[call.first].line..tokens[call.last].last_line, call)
    end
  end

  # Ripper's tree builder that keeps the first error and its line.
  class Parser < Ripper::SexpBuilderPP
    attr_reader :failure

    private

    def on_parse_error(message)
      @failure ||= [lineno, message]
    end

    def compile_error(message)
      @failure ||= [lineno, message]
    end
  end

  # The text of a Podfile with pod lines added to and removed from one
  # target, and what was done.
  class Edit
    attr_reader :text, :messages

    def initialize(text, target_name)
      @original = text
      @podfile = Podfile.new(text)
      @source = @podfile.source
      @target_name = target_name
      @target = @podfile.target(target_name)
      @pods = @podfile.pods(@target)
      @removed_lines = {}
      @messages = []
    end

    # additions: [name, path or nil] in order; removals: names.
    def apply(additions, removals)
      added_names = additions.map(&:first)
      asked = removals.uniq.reject { |name| added_names.include?(name) }
      removed = asked.select { |name| remove(name) } # those with own lines, now marked
      new_lines = additions.uniq(&:first).reject { |name, _| remaining?(name) }
      insert(new_lines) unless new_lines.empty?
      @text = compose
      removed.each { |name| @messages << "removed #{name}" }
      new_lines.each { |name, _| @messages << "added #{name}" }
      @messages << 'nothing to change' if removed.empty? && new_lines.empty?
      check(new_lines.map(&:first), removed) unless @text == @original
      self
    end

    def changed?
      @text != @original
    end

    private

    def remove(name)
      own, inherited = @pods.select { |pod| pod.name == name }.partition { |pod| pod.scope == :own }
      own.each do |pod|
        call = pod.call
        unless call.statement && @source.alone_on_lines?(call.first, call.statement_last)
          raise Failure, "cannot remove #{name}: line #{pod.lines.first} holds other code as well; " \
                         'the Podfile was left as it was'
        end
        (pod.lines.first..@source.tokens[call.statement_last].last_line).each { |line| @removed_lines[line] = true }
      end
      unless inherited.empty?
        @messages << "left #{name}: it is declared outside #{@target_name}'s own block (line #{inherited.first.lines.first})"
      end
      !own.empty?
    end

    def remaining?(name)
      @pods.any? { |pod| pod.name == name && !@removed_lines[pod.lines.first] }
    end

    def insert(additions)
      after, indent = insertion_point
      ending = @source.line_ending(after)
      @insert_after = after
      @inserted = additions.map do |name, path|
        "#{indent}pod '#{name}'#{path ? ", :path => '#{path}'" : ''}#{ending}"
      end.join
    end

    # The line after which new pods go, and their indentation.
    def insertion_point
      open_line = @target.open_token.line
      close_line = @target.close_token.line
      if open_line == close_line
        raise Failure, "#{@target_name}'s block opens and closes on line #{open_line}; there is no line to add pods to"
      end

      anchors = @pods.select { |pod| anchor?(pod) }
      marker = marker_line
      anchors = anchors.select { |pod| pod.lines.first > marker } if marker
      return [[anchors.last.lines.last, close_line - 1].min, @source.indentation(anchors.last.lines.first)] unless anchors.empty?
      return [marker, @source.indentation(marker)] if marker

      stop = @target.children.empty? ? close_line : @target.children.first.name_token.line
      after = (stop - 1).downto(open_line).find do |line|
        line == open_line || (@source.code_line?(line) && !@removed_lines[line])
      end || open_line
      [after, fallback_indentation(after)]
    end

    # An own pod that stands as a statement directly in the target's block.
    def anchor?(pod)
      pod.scope == :own && pod.call.statement && !@removed_lines[pod.lines.first] &&
        @source.parent_index(@source.tokens[pod.call.first]) == @target.open_token.index
    end

    # The line of the "# Default pods" comment directly in the block.
    def marker_line
      marker = @source.tokens.find do |token|
        token.type == :on_comment && token.text.strip == MARKER &&
          @source.parent_index(token) == @target.open_token.index && @source.indentation(token.line).length == token.column
      end
      marker && marker.line
    end

    def fallback_indentation(after)
      block = @source.indentation(@target.name_token.line)
      candidates = []
      candidates << @source.indentation(after) if after != @target.open_token.line
      candidates << @source.indentation(@target.children.first.name_token.line) unless @target.children.empty?
      deeper = candidates.find { |indentation| indentation.length > block.length }
      deeper || block + (block.include?("\t") ? "\t" : '  ')
    end

    def compose
      kept = +''
      @source.lines.each_with_index do |line, index|
        kept << line unless @removed_lines[index + 1]
        kept << @inserted if index + 1 == @insert_after
      end
      @podfile.bom + kept
    end

    # The edited text must parse, and give the target the added pods as its
    # own and none of the removed ones.
    def check(added, removed)
      pods = begin
        PodfileEditor.pods_for(@text, @target_name)
      rescue ParseError => e
        raise Failure, "the edited Podfile would not parse: #{e.detail}; the Podfile was left as it was"
      end
      own = pods.select { |pod| pod.scope == :own }.map(&:name)
      return if (added - own).empty? && (removed & own).empty?

      raise Failure, "could not place the pod lines inside #{@target_name}'s block; the Podfile was left as it was"
    end
  end

  # The command line.
  module CommandLine
    module_function

    def run(arguments, out)
      command, *rest = arguments
      case command
      when 'list' then list(*positional(rest, 'list'), out)
      when 'edit' then edit(rest, out)
      when '-h', '--help' then out.puts USAGE
      when nil then raise UsageError, 'missing command'
      else raise UsageError, "unknown command '#{command}'"
      end
    end

    def list(path, target, out)
      PodfileEditor.pods_for(read(path), target).each do |pod|
        out.puts [pod.name, pod.scope, pod.declaration].join("\t")
      end
    end

    def edit(arguments, out)
      options = edit_options(arguments)
      path, target = options[:positional]
      edit = Edit.new(read(path), target).apply(options[:additions], options[:removals])
      write(path, edit.text) if edit.changed?
      edit.messages.each { |message| out.puts "PodfileEditor: #{message}" }
    end

    def positional(arguments, command)
      unknown = arguments.find { |argument| argument.start_with?('-') }
      raise UsageError, "unknown option '#{unknown}' for #{command}" if unknown
      raise UsageError, "#{command} takes PODFILE and TARGET" unless arguments.size == 2
      raise UsageError, 'TARGET must not be empty' if arguments[1].empty?

      arguments.map { |argument| utf8(argument) }
    end

    # Usage first, then the values: a refused value stops everything.
    def edit_options(arguments)
      positional = []
      values = []
      arguments = arguments.dup
      until arguments.empty?
        argument = arguments.shift
        option, value = argument.start_with?('--') ? argument.split('=', 2) : [argument, nil]
        if %w[--add --add-local --remove].include?(option)
          values << [option, value || option_value(arguments, option)]
        else
          positional << argument
        end
      end
      positional = positional(positional, 'edit')
      { positional: positional,
        additions: values.map { |option, value| addition(option, value) }.compact,
        removals: values.select { |option, _| option == '--remove' }.map { |_, value| pod_name(value) } }
    end

    def addition(option, value)
      case option
      when '--add' then [pod_name(value), nil]
      when '--add-local' then local_pod(value)
      end
    end

    def option_value(arguments, option)
      raise UsageError, "#{option} needs a value" if arguments.empty?

      arguments.shift
    end

    def pod_name(value)
      value = utf8(value)
      return value if value =~ POD_NAME

      raise Refusal, "refusing pod name #{value.inspect}: only letters, digits and -_.+ " \
                     '(and / between a pod and its subspec) are allowed, not dots alone'
    end

    def local_pod(value)
      value = utf8(value)
      name, path = value.split('=', 2)
      raise Refusal, "refusing --add-local #{value.inspect}: expected NAME=PATH" if path.nil?
      if path.empty? || path =~ /['"\\[:cntrl:]]/ || !path.valid_encoding?
        raise Refusal, "refusing path #{path.inspect} of #{name}: it must not be empty or hold quotes, " \
                       'backslashes or control characters'
      end

      [pod_name(name), path]
    end

    def utf8(value)
      value.dup.force_encoding(Encoding::UTF_8)
    end

    def read(path)
      raise Failure, "cannot read #{path}: it is a folder" if File.directory?(path)

      text = File.binread(path).force_encoding(Encoding::UTF_8)
      return text if text.valid_encoding?

      line = text.each_line.find_index { |each| !each.valid_encoding? } + 1
      raise Failure, "#{path} is not UTF-8 text (line #{line})"
    rescue SystemCallError, IOError => e
      raise Failure, "cannot read #{path}: #{reason(e)}"
    end

    # Replaces the file through a temporary file beside it, with the same
    # permissions; a symbolic link stays one and its target is replaced.
    def write(path, text)
      temporary = nil
      begin
        real = File.realpath(path)
        temporary = File.join(File.dirname(real), ".#{File.basename(real)}.#{Process.pid}.#{rand(1 << 32).to_s(16)}.tmp")
        File.open(temporary, File::WRONLY | File::CREAT | File::EXCL | File::BINARY, 0o600) do |file|
          file.write(text)
          file.flush
          file.fsync
        end
        File.chmod(File.stat(real).mode & 0o7777, temporary)
        File.rename(temporary, real)
      rescue SystemCallError, IOError => e
        File.unlink(temporary) if temporary && File.exist?(temporary)
        raise Failure, "cannot write #{path}: #{reason(e)}; it was left as it was"
      end
    end

    def reason(error)
      error.message.sub(/ @ .*\z/m, '').sub(/ - .*\z/m, '')
    end
  end
end

if $PROGRAM_NAME == __FILE__
  begin
    PodfileEditor::CommandLine.run(ARGV.dup, $stdout)
  rescue PodfileEditor::UsageError => e
    warn "PodfileEditor: #{e.message}"
    warn PodfileEditor::USAGE
    exit 64
  rescue PodfileEditor::Refusal => e
    warn "PodfileEditor: #{e.message}; nothing was changed"
    exit 2
  rescue PodfileEditor::Failure => e
    warn "PodfileEditor: #{e.message}"
    exit 1
  rescue StandardError => e
    warn "PodfileEditor: #{e.class}: #{e.message.lines.first.to_s.strip}"
    exit 1
  end
end
