// Starts `murmex lsp` for Murmex scripts and stops it with the editor. The
// path of the tool comes from the setting murmex.path; a change to it
// restarts the server.
import * as vscode from "vscode";
import { LanguageClient, LanguageClientOptions, ServerOptions } from "vscode-languageclient/node";

let client: LanguageClient | undefined;

function startClient(): Promise<void> {
    const command = vscode.workspace.getConfiguration("murmex").get<string>("path") || "murmex";
    const server: ServerOptions = { command, args: ["lsp"] };
    const options: LanguageClientOptions = {
        documentSelector: [{ language: "murmex" }],
    };
    client = new LanguageClient("murmex", "Murmex", server, options);
    return client.start();
}

export async function activate(context: vscode.ExtensionContext): Promise<void> {
    context.subscriptions.push(
        vscode.workspace.onDidChangeConfiguration(async (change) => {
            if (change.affectsConfiguration("murmex.path")) {
                await client?.stop();
                await startClient();
            }
        }),
    );
    await startClient();
}

export function deactivate(): Promise<void> | undefined {
    return client?.stop();
}
