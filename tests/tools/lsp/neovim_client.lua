-- Drives Neovim's built-in LSP client (0.7 API) against `murmex lsp`:
-- diagnostics of the demo and of a broken copy, symbols, a definition jump,
-- completion lists and a rename applied to the buffer. What the server
-- returned goes to $REPORT; a failed check ends Neovim with status 1.
local murmex = os.getenv("MURMEX")
local failures = {}
local report = {}
local diagnostics = {}
local server_exit = nil

local function check(ok, what)
  if not ok then
    table.insert(failures, what)
  end
end

local function finish()
  local file = io.open(os.getenv("REPORT"), "w")
  file:write(vim.fn.json_encode(report))
  file:close()
  for _, failure in ipairs(failures) do
    io.stderr:write("FAIL: " .. failure .. "\n")
  end
  vim.cmd(#failures == 0 and "qall!" or "cquit 1")
end

local client = vim.lsp.start_client({
  cmd = { murmex, "lsp" },
  root_dir = vim.fn.getcwd(),
  handlers = {
    ["textDocument/publishDiagnostics"] = function(_, result)
      diagnostics[result.uri] = result.diagnostics
    end,
  },
  on_exit = function(code)
    server_exit = code
  end,
})

-- Opens a file, attaches the client and waits for its first diagnostics.
local function open(name)
  vim.cmd("edit " .. name)
  local buffer = vim.api.nvim_get_current_buf()
  local uri = vim.uri_from_bufnr(buffer)
  vim.lsp.buf_attach_client(buffer, client)
  check(vim.wait(10000, function() return diagnostics[uri] ~= nil end, 10), name .. ": diagnostics")
  return buffer, uri
end

-- The 0-based line and column of `text` in the buffer, plus `into`.
local function find(buffer, text, into)
  for number, line in ipairs(vim.api.nvim_buf_get_lines(buffer, 0, -1, false)) do
    local column = line:find(text, 1, true)
    if column then
      return { line = number - 1, character = column - 1 + (into or 0) }
    end
  end
  error("not in the buffer: " .. text)
end

local function ask(buffer, method, params)
  params.textDocument = { uri = vim.uri_from_bufnr(buffer) }
  local replies = vim.lsp.buf_request_sync(buffer, method, params, 10000) or {}
  local reply = replies[client] or {}
  return reply.result, reply.error
end

local function labels(items)
  local found = {}
  for _, item in ipairs(items or {}) do
    table.insert(found, item.label)
  end
  return found
end

local function run()
  local demo, demo_uri = open("demo.chr.txt")
  report.demo_diagnostics = diagnostics[demo_uri]
  check(diagnostics[demo_uri] and #diagnostics[demo_uri] == 0, "the demo has no diagnostics")

  local symbols = ask(demo, "textDocument/documentSymbol", {})
  report.symbols = {}
  for _, symbol in ipairs(symbols or {}) do
    table.insert(report.symbols, symbol.name .. " (" .. #symbol.children .. " units)")
  end
  check(#report.symbols == 3, "three characters")

  local handover = find(demo, 'PARAM = "Smith"', 10)
  local definition = ask(demo, "textDocument/definition", { position = handover })
  report.definition = definition
  check(definition and definition.range.start.line == find(demo, '"Smith" {').line,
    "the hand-over jumps to Smith's block")

  report.completion_param = labels(ask(demo, "textDocument/completion", { position = handover }))
  check(vim.tbl_contains(report.completion_param, "Mara"), "character names in PARAM")
  report.completion_act = labels(ask(demo, "textDocument/completion",
    { position = find(demo, 'ACT = "ACT_COMM"', 7) }))
  check(vim.tbl_contains(report.completion_act, "ACT_ADD_MEM"), "actions in ACT")
  report.completion_id = labels(ask(demo, "textDocument/completion",
    { position = find(demo, 'ID = "sword"', 6) }))
  check(vim.tbl_contains(report.completion_id, "letter"), "variables in ID")

  local edit = ask(demo, "textDocument/rename", { position = handover, newName = "Brom" })
  report.rename_edits = edit and #edit.changes[demo_uri] or 0
  check(report.rename_edits == 3, "Smith is renamed in its block and two hand-overs")
  local _, refused = ask(demo, "textDocument/rename", { position = handover, newName = "Mara" })
  report.rename_refused = refused and refused.message
  check(refused ~= nil, "a taken name is refused")
  diagnostics[demo_uri] = nil
  vim.lsp.util.apply_workspace_edit(edit, "utf-16")
  check(vim.wait(10000, function() return diagnostics[demo_uri] ~= nil end, 10),
    "diagnostics after the rename")
  check(#diagnostics[demo_uri] == 0, "the renamed demo has no diagnostics")

  local broken, broken_uri = open("broken.chr.txt")
  report.broken_diagnostics = diagnostics[broken_uri]
  local first = (diagnostics[broken_uri] or {})[1]
  check(first and first.severity == 1 and first.range.start.line == find(broken, '"ACT_COM"').line,
    "the planted mistake is an error on its line")
  check(first and first.range.start.character == find(broken, 'ACT = "ACT_COM"').character,
    "the error starts at the ACT field")

  vim.lsp.stop_client(client)
  check(vim.wait(5000, function() return server_exit ~= nil end, 10), "the server exits")
  report.server_exit = server_exit
  check(server_exit == 0, "the server exits with 0 after shutdown")
end

local ok, problem = pcall(run)
check(ok, tostring(problem))
finish()
