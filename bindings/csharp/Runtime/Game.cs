// One game over a script: its conversation, memory and money, the listeners
// that hear its changes, and its saved form.
using System;
using System.Collections.Generic;
using System.Runtime.ExceptionServices;
using System.Runtime.InteropServices;
using System.Text;
using System.Threading;

namespace Murmex
{
    // Where a step took the game; ToString gives the kind's name.
    public enum Step
    {
        // The same character answered.
        Continued = 0,
        // The conversation went on with another character.
        Switched = 1,
        // The conversation ended; the first character started again.
        Ended = 2,
        // The game failed and is over; LastError says why.
        Failed = 3,
    }

    public sealed class Game : IDisposable
    {
        // One listener's action and the game it belongs to. The library hands
        // a GCHandle to it back as user data, which is all the static callback
        // needs to find its way back to managed code.
        private sealed class Subscription
        {
            internal readonly Game Game;
            internal readonly Action<GameEvent> Action;
            internal GCHandle Self;

            internal Subscription(Game game, Action<GameEvent> action)
            {
                Game = game;
                Action = action;
            }
        }

        // Held in a static field so the collector never takes the delegate
        // whose native entry the library keeps; hosts compiled ahead of time
        // can only call back into a static method like this one.
        private static readonly Native.Listener Trampoline = OnNativeEvent;

        internal readonly GameHandle Handle;
        // The script's native handle, which the game reads its lines' ids and
        // texts through. The library keeps a disposed script's model for its
        // games but not the handle, so each game holds the handle open until
        // it is disposed or collected; 1 while it holds it.
        private readonly ScriptHandle script;
        private int holdsScript;
        private readonly Dictionary<uint, Subscription> subscriptions = new Dictionary<uint, Subscription>();
        // The first exception a listener threw during the current call. It
        // cannot cross the library's frames, so it is thrown once the call is back.
        private ExceptionDispatchInfo listenerFailure;
        // How many of this game's listeners are running: the library is then
        // inside a call that goes on to tell the listeners after them.
        private int telling;
        private bool disposed;
        // Disposed from a listener: the listeners' handles go when the call is back.
        private bool disposedWhileTelling;

        // Takes over `script`'s hold, which the caller has added.
        internal Game(GameHandle handle, ScriptHandle script)
        {
            Handle = handle;
            this.script = script;
            holdsScript = 1;
            Variables = new Variables(this);
        }

        ~Game()
        {
            FreeSubscriptions();
            ReleaseScript();
        }

        // Starts the conversation with the named character. The name is compared
        // as bytes: the string's UTF-8, or the bytes as given.
        public void Start(string character)
        {
            if (character == null)
            {
                throw new ArgumentNullException("character");
            }
            StartNamed(Native.Terminated(character, "character"));
        }

        public void Start(byte[] character)
        {
            if (character == null)
            {
                throw new ArgumentNullException("character");
            }
            StartNamed(Native.Terminated(character, "character"));
        }

        // Back to the beginning: every state 0, no variables, no money, no
        // conversation. Listeners stay.
        public void Reset()
        {
            Call(Native.murmex_game_reset(Handle));
        }

        // The answer shown, decoded and without markers; empty before any conversation.
        public string Answer
        {
            get { return Native.CopyText(Borrowed(Native.murmex_game_answer, Native.FormText)); }
        }

        /// <summary>
        /// The line id of the answer shown, as the translation export names it
        /// ("Mara/S1/2/A"): the one key for its translation and its recorded
        /// voice. Empty while no answer is shown.
        /// </summary>
        public string AnswerLineId
        {
            get
            {
                GameHandle game = Handle;
                return Native.Written((byte[] buffer, UIntPtr capacity, out UIntPtr length) =>
                    Native.murmex_game_answer_line_id(game, buffer, capacity, out length), this);
            }
        }

        public byte[] AnswerBytes
        {
            get { return Native.CopyBytes(Borrowed(Native.murmex_game_answer, Native.FormBytes)); }
        }

        // The character talked to; empty before any conversation.
        public string Character
        {
            get { return Native.CopyText(Borrowed(Native.murmex_game_character, Native.FormText)); }
        }

        public byte[] CharacterBytes
        {
            get { return Native.CopyBytes(Borrowed(Native.murmex_game_character, Native.FormBytes)); }
        }

        // The offered questions, copied; the list stays as it was when read.
        public IReadOnlyList<Question> Questions
        {
            get
            {
                int count;
                Status.Check(Native.murmex_game_question_count(Handle, out count), this);
                var questions = new Question[count];
                for (int i = 0; i < count; i++)
                {
                    Native.NativeQuestion question;
                    Status.Check(Native.murmex_game_question(Handle, i, out question), this);
                    // Copied before the next call, which may reuse the texts.
                    string label = Native.CopyText(question.Label);
                    string text = Native.CopyText(question.Text);
                    byte[] bytes = Native.CopyBytes(question.Bytes);
                    questions[i] = new Question(label, text, bytes, (int)question.Mnemonic, QuestionLineId(i));
                }
                return questions;
            }
        }

        // Asks offered question `index` (0-based) and carries on as the window
        // does. An index outside the questions throws ArgumentOutOfRangeException.
        public Step Choose(int index)
        {
            return (Step)Call(Native.murmex_game_choose(Handle, index));
        }

        /// <summary>
        /// The lines the next <paramref name="depth"/> choices (1 to 3) can
        /// show from the screen now, each once, nearest first: the answers the
        /// offered questions lead to and the questions offered then. A game
        /// uses their ids to load translations and voices ahead. Looking ahead
        /// changes nothing in the game and tells no listener. A depth outside
        /// 1 to 3 throws ArgumentOutOfRangeException.
        /// </summary>
        public IReadOnlyList<Line> Lookahead(int depth)
        {
            RefuseIfDisposed();
            // One screen's lines fit at once as a rule; more take a second call.
            var found = new Native.NativeLine[64];
            UIntPtr count;
            int code = Native.murmex_game_lookahead(Handle, depth, found, (UIntPtr)found.Length, out count);
            if (code == Native.ErrorBuffer)
            {
                found = new Native.NativeLine[(int)count];
                code = Native.murmex_game_lookahead(Handle, depth, found, (UIntPtr)found.Length, out count);
            }
            Status.Check(code, this);
            IntPtr scriptPointer = script.DangerousGetHandle();
            var lines = new Line[(int)count];
            for (int i = 0; i < lines.Length; i++)
            {
                Native.NativeLine line = found[i];
                string id = Native.Written((byte[] buffer, UIntPtr capacity, out UIntPtr length) =>
                    Native.murmex_script_line_id(scriptPointer, ref line, buffer, capacity, out length));
                string text = Native.Written((byte[] buffer, UIntPtr capacity, out UIntPtr length) =>
                    Native.murmex_script_line_text(scriptPointer, ref line, Native.FormText, buffer, capacity,
                                                   out length));
                lines[i] = new Line(id, text, (LinePart)line.Part, line.Depth);
            }
            // The finalizer lets the script's handle go: not while it is read.
            GC.KeepAlive(this);
            return lines;
        }

        public Variables Variables { get; private set; }

        public int Money
        {
            get
            {
                int money;
                Status.Check(Native.murmex_game_money(Handle, out money), this);
                return money;
            }
            set { Call(Native.murmex_game_set_money(Handle, value)); }
        }

        // The last failure on this game in words; empty when nothing failed.
        public string LastError
        {
            get { return Native.CopyText(Native.murmex_game_last_error(Handle)); }
        }

        // The game as bytes, for Restore on a game of the same script.
        public byte[] Save()
        {
            UIntPtr needed;
            int code = Native.murmex_game_save(Handle, null, UIntPtr.Zero, out needed);
            if (code != Native.ErrorBuffer)
            {
                Status.Check(code, this);
            }
            var buffer = new byte[(int)needed];
            UIntPtr written;
            Status.Check(Native.murmex_game_save(Handle, buffer, (UIntPtr)buffer.Length, out written), this);
            if ((int)written != buffer.Length)
            {
                Array.Resize(ref buffer, (int)written);
            }
            return buffer;
        }

        // Restores what Save wrote: into the same script, or into an edited or
        // translated one that still holds the situation saved. A refused save
        // (MurmexException, code -10) changes nothing.
        public void Restore(byte[] saved)
        {
            if (saved == null)
            {
                throw new ArgumentNullException("saved");
            }
            Call(Native.murmex_game_restore(Handle, saved, (UIntPtr)saved.Length));
        }

        // The same, but a save from a script that has changed at all is refused.
        public void RestoreStrictly(byte[] saved)
        {
            if (saved == null)
            {
                throw new ArgumentNullException("saved");
            }
            Call(Native.murmex_game_restore_strict(Handle, saved, (UIntPtr)saved.Length));
        }

        // Adds a listener for one kind of event and returns the id that Off
        // takes. Listeners hear events in the order they were added; one added
        // from inside a listener first hears the next event, and one removed
        // from inside a listener hears nothing more. A listener may read the
        // game but not change it (that throws InvalidOperationException); an
        // exception it throws is thrown again by the call that caused the event.
        public uint On(EventKind kind, Action<GameEvent> listener)
        {
            return Subscribe(listener, (Native.Listener trampoline, IntPtr userData, out uint id) =>
                Native.murmex_game_listen(Handle, (int)kind, trampoline, userData, out id));
        }

        // The same for a kind named as every language names it: "variable",
        // "money", "handover", "ended", "item-given", "item-taken", "restored"
        // or "reset" (see EventKinds).
        public uint On(string kind, Action<GameEvent> listener)
        {
            return On(EventKinds.Parse(kind), listener);
        }

        /// <summary>
        /// Adds a listener that hears the Variable events of one variable only,
        /// named exactly as the game holds it (the string's UTF-8, or the bytes
        /// as given), and returns the id that Unobserve or Off takes. A name
        /// is at most 19 bytes: an empty one throws ArgumentOutOfRangeException,
        /// a longer one MurmexException with code -13.
        /// </summary>
        public uint Observe(string name, Action<GameEvent> listener)
        {
            if (name == null)
            {
                throw new ArgumentNullException("name");
            }
            return Observe(Encoding.UTF8.GetBytes(name), listener);
        }

        public uint Observe(byte[] name, Action<GameEvent> listener)
        {
            if (name == null)
            {
                throw new ArgumentNullException("name");
            }
            byte[] terminated = Native.Terminated(name, "name");
            return Subscribe(listener, (Native.Listener trampoline, IntPtr userData, out uint id) =>
                Native.murmex_game_observe(Handle, terminated, trampoline, userData, out id));
        }

        // Removes a listener or an observer, from inside a listener too. An id
        // that names none of this game's throws MurmexException (code -6), as
        // one removed already does. Returns true, as it always has.
        public bool Off(uint id)
        {
            RefuseIfDisposed();
            Status.Check(Native.murmex_game_unlisten(Handle, id), this);
            Subscription subscription;
            if (subscriptions.TryGetValue(id, out subscription))
            {
                subscriptions.Remove(id);
                subscription.Self.Free();
            }
            return true;
        }

        // Off by the name that goes with Observe.
        public void Unobserve(uint id)
        {
            Off(id);
        }

        internal bool IsDisposed
        {
            get { return disposed; }
        }

        public void Dispose()
        {
            // The native game goes first, so no callback can reach a freed
            // handle. From inside a listener the library is still telling the
            // others: the running call holds the native game until it returns
            // (the marshaller's hold on the handle), and Call frees the
            // listeners' handles then.
            disposed = true;
            Handle.Dispose();
            ReleaseScript();
            if (telling > 0)
            {
                disposedWhileTelling = true;
            }
            else
            {
                FreeSubscriptions();
            }
            GC.SuppressFinalize(this);
        }

        [MonoPInvokeCallback(typeof(Native.Listener))]
        private static void OnNativeEvent(IntPtr userData, IntPtr record)
        {
            var subscription = GCHandle.FromIntPtr(userData).Target as Subscription;
            // A game disposed by an earlier listener of this event tells nobody more.
            if (subscription == null || subscription.Game.disposed)
            {
                return;
            }
            Game game = subscription.Game;
            game.telling++;
            try
            {
                var gameEvent = new GameEvent((Native.NativeEvent)Marshal.PtrToStructure(record, typeof(Native.NativeEvent)));
                subscription.Action(gameEvent);
            }
            catch (Exception failure)
            {
                // Unwinding through the library's frames is undefined; keep the
                // first failure for the caller.
                if (game.listenerFailure == null)
                {
                    game.listenerFailure = ExceptionDispatchInfo.Capture(failure);
                }
            }
            finally
            {
                game.telling--;
            }
        }

        // Checks a call that may have run listeners: what a listener threw
        // comes first, then the call's own status.
        internal int Call(int code)
        {
            ExceptionDispatchInfo failure = listenerFailure;
            listenerFailure = null;
            try
            {
                if (failure != null)
                {
                    failure.Throw();
                }
                return Status.Check(code, this);
            }
            finally
            {
                if (disposedWhileTelling)
                {
                    disposedWhileTelling = false;
                    FreeSubscriptions();
                }
            }
        }

        // One of the library's ways to add a listener, given the trampoline
        // and the user data it hands back.
        private delegate int Registration(Native.Listener trampoline, IntPtr userData, out uint id);

        private uint Subscribe(Action<GameEvent> listener, Registration register)
        {
            if (listener == null)
            {
                throw new ArgumentNullException("listener");
            }
            RefuseIfDisposed();
            var subscription = new Subscription(this, listener);
            // Weak, so a game nobody disposes can still be collected: while the
            // library can call back, a call on this game is running and holds it.
            subscription.Self = GCHandle.Alloc(subscription, GCHandleType.Weak);
            uint id;
            int code = register(Trampoline, GCHandle.ToIntPtr(subscription.Self), out id);
            if (code < 0)
            {
                subscription.Self.Free();
                Status.Check(code, this);
            }
            subscriptions[id] = subscription;
            return id;
        }

        private void RefuseIfDisposed()
        {
            if (disposed)
            {
                throw new ObjectDisposedException(GetType().Name);
            }
        }

        private void StartNamed(byte[] terminatedName)
        {
            Call(Native.murmex_game_start(Handle, terminatedName));
        }

        private delegate int TextGetter(GameHandle game, int form, out IntPtr text);

        private IntPtr Borrowed(TextGetter getter, int form)
        {
            IntPtr text;
            Status.Check(getter(Handle, form, out text), this);
            return text;
        }

        private string QuestionLineId(int index)
        {
            GameHandle game = Handle;
            return Native.Written((byte[] buffer, UIntPtr capacity, out UIntPtr length) =>
                Native.murmex_game_question_line_id(game, index, buffer, capacity, out length), this);
        }

        // Once only, from Dispose or the finalizer, whichever comes first.
        private void ReleaseScript()
        {
            if (Interlocked.Exchange(ref holdsScript, 0) == 1)
            {
                script.DangerousRelease();
            }
        }

        private void FreeSubscriptions()
        {
            foreach (Subscription subscription in subscriptions.Values)
            {
                if (subscription.Self.IsAllocated)
                {
                    subscription.Self.Free();
                }
            }
            subscriptions.Clear();
        }
    }
}
