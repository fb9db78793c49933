<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>QenAbout</name>
    <message>
        <source>About Quenor®</source>
        <translation>关于 Quenor®</translation>
    </message>
    <message>
        <source>&lt;p align=&quot;center&quot;&gt;&lt;b&gt;&lt;span style=&quot;font-size:x-large&quot;&gt;Quenor®&lt;/span&gt;&lt;/b&gt;&lt;br&gt;Understanding Anesthesia Uptake and Distribution&lt;/p&gt;%1&lt;p align=&quot;center&quot;&gt;A teaching simulator of how inhaled anesthetics are taken up and distributed in the body, for the lecture hall, the classroom and study at home.&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;Written by the Quenor developers. Built with &lt;a href=&quot;https://www.qt.io/&quot;&gt;Qt&lt;/a&gt;, &lt;a href=&quot;https://gitlab.gnome.org/GNOME/libxml2&quot;&gt;libxml2&lt;/a&gt; and &lt;a href=&quot;https://gitlab.gnome.org/GNOME/libxslt&quot;&gt;libxslt&lt;/a&gt;.&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;i&gt;A model for teaching, not a clinical tool: never use its numbers to treat a patient.&lt;/i&gt;&lt;/p&gt;</source>
        <translation>&lt;p align=&quot;center&quot;&gt;&lt;b&gt;&lt;span style=&quot;font-size:x-large&quot;&gt;Quenor®&lt;/span&gt;&lt;/b&gt;&lt;br&gt;理解麻醉药的摄取与分布&lt;/p&gt;%1&lt;p align=&quot;center&quot;&gt;一个演示吸入麻醉药在体内如何被摄取和分布的教学模拟器，适用于讲堂、课堂和在家自学。&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;由 Quenor 开发者编写。使用 &lt;a href=&quot;https://www.qt.io/&quot;&gt;Qt&lt;/a&gt;、&lt;a href=&quot;https://gitlab.gnome.org/GNOME/libxml2&quot;&gt;libxml2&lt;/a&gt; 和 &lt;a href=&quot;https://gitlab.gnome.org/GNOME/libxslt&quot;&gt;libxslt&lt;/a&gt; 构建。&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;i&gt;这是教学模型，不是临床工具：切勿用其数值治疗患者。&lt;/i&gt;&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>QenAboutDlg</name>
    <message>
        <source>About Quenor®</source>
        <translation>关于 Quenor®</translation>
    </message>
</context>
<context>
    <name>QenAgent</name>
    <message>
        <source>Change Anesthetic Agent and Circuit Type</source>
        <translation>更改麻醉药和回路类型</translation>
    </message>
    <message>
        <source>Agent:</source>
        <translation>麻醉药：</translation>
    </message>
    <message>
        <source>Circuit:</source>
        <translation>回路：</translation>
    </message>
</context>
<context>
    <name>QenAnesthetic</name>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
    <message>
        <source>&lt;p&gt;Error reading &apos;%1&apos; parameter for anesthetic &apos;%2&apos;. Agent ignored.</source>
        <translation>&lt;p&gt;读取麻醉药“%2”的参数“%1”时出错。已忽略该麻醉药。</translation>
    </message>
</context>
<context>
    <name>QenApplication</name>
    <message>
        <source>Quenor® </source>
        <translation>Quenor® </translation>
    </message>
    <message>
        <source>quenor.ini not found! The application will be closed.</source>
        <translation>找不到 quenor.ini！程序将关闭。</translation>
    </message>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
</context>
<context>
    <name>QenAssistant</name>
    <message>
        <source> on PATH</source>
        <translation> （在 PATH 中）</translation>
    </message>
    <message>
        <source>Simple Text Viewer</source>
        <translation>简易文本查看器</translation>
    </message>
    <message>
        <source>Unable to launch Qt Assistant (%1)</source>
        <translation>无法启动 Qt Assistant（%1）</translation>
    </message>
    <message>
        <source>Quenor® </source>
        <translation>Quenor® </translation>
    </message>
    <message>
        <source>&lt;p&gt;The help file %1 is missing.</source>
        <translation>&lt;p&gt;缺少帮助文件 %1。</translation>
    </message>
</context>
<context>
    <name>QenBookmark</name>
    <message>
        <source>Place or Remove a Bookmark</source>
        <translation>放置或删除书签</translation>
    </message>
    <message>
        <source>hours</source>
        <translation>时</translation>
    </message>
    <message>
        <source>min</source>
        <translation>分</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>添加(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>D&amp;elete All</source>
        <translation>全部删除(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>确定(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
</context>
<context>
    <name>QenBookmarkDlg</name>
    <message>
        <source>Quenor® </source>
        <translation>Quenor® </translation>
    </message>
    <message>
        <source>You cannot set a bookmark past the end of the simulation!</source>
        <translation>不能在模拟结束之后设置书签！</translation>
    </message>
</context>
<context>
    <name>QenCDefaults</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Agent Defaults</source>
        <translation>麻醉药默认值</translation>
    </message>
    <message>
        <source>ml</source>
        <translation>ml</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>费用</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>GWP100</source>
        <translation>GWP100</translation>
    </message>
</context>
<context>
    <name>QenCDefaultsWidget</name>
    <message>
        <source>Global warming potential over 100 years (carbon dioxide = 1), for the CO2e of the delivered vapour. – when not known: the agent then shows no CO2e.</source>
        <translation>100 年全球变暖潜能值（二氧化碳 = 1），用于计算已输送蒸气的 CO2 当量。未知时为 –：该药物不显示 CO2 当量。</translation>
    </message>
</context>
<context>
    <name>QenCatalogue</name>
    <message>
        <source>&lt;p&gt;[Agents] Agents in %1 names an agent more than once; only the first is used. Left out: %2</source>
        <translation>&lt;p&gt;%1 中的 [Agents] Agents 多次列出同一麻醉药；只使用第一个。已略去：%2</translation>
    </message>
</context>
<context>
    <name>QenChildWindow</name>
    <message>
        <source>Picture</source>
        <translation>图示</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>曲线</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>控制</translation>
    </message>
</context>
<context>
    <name>QenChoiceSound</name>
    <message>
        <source>Choice of a sound</source>
        <translation>选择声音</translation>
    </message>
    <message>
        <source>System 1:</source>
        <translation>系统声音 1：</translation>
    </message>
    <message>
        <source>System 2:</source>
        <translation>系统声音 2：</translation>
    </message>
    <message>
        <source>System 3:</source>
        <translation>系统声音 3：</translation>
    </message>
    <message>
        <source>System 4:</source>
        <translation>系统声音 4：</translation>
    </message>
    <message>
        <source>Choose a sound file</source>
        <translation>选择声音文件</translation>
    </message>
    <message>
        <source>&lt;no sound&gt;</source>
        <translation>&lt;无声音&gt;</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Sound Files (*.wav)</source>
        <translation>声音文件 (*.wav)</translation>
    </message>
</context>
<context>
    <name>QenCommandLine</name>
    <message>
        <source>Quenor® simulates the uptake and distribution of inhaled anaesthetics.</source>
        <translation>Quenor® 模拟吸入麻醉药的摄取与分布。</translation>
    </message>
    <message>
        <source>files</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Simulation files (.qen) to open.</source>
        <translation>要打开的模拟文件（.qen）。</translation>
    </message>
    <message>
        <source>[files...]</source>
        <translation>[文件...]</translation>
    </message>
</context>
<context>
    <name>QenControl</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Simulation Controls</source>
        <translation>模拟控制</translation>
    </message>
    <message>
        <source>Weight</source>
        <translation>体重</translation>
    </message>
    <message>
        <source>Circuit</source>
        <translation>回路</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>View</source>
        <translation>视图</translation>
    </message>
    <message>
        <source>Special</source>
        <translation>特殊</translation>
    </message>
    <message>
        <source>Disable Uptake</source>
        <translation>禁用摄取</translation>
    </message>
    <message>
        <source>Disable Return</source>
        <translation>禁用回流</translation>
    </message>
    <message>
        <source>Enable Vapor</source>
        <translation>启用蒸气</translation>
    </message>
    <message>
        <source>Begin</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>AFAP</source>
        <translation>最快</translation>
    </message>
    <message>
        <source>Agents</source>
        <translation>麻醉药</translation>
    </message>
    <message>
        <source>Agent</source>
        <translation>麻醉药</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>New &amp;Graph View</source>
        <translation>新建曲线视图(&amp;G)</translation>
    </message>
    <message>
        <source>New &amp;Picture View</source>
        <translation>新建图示视图(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Delete Agent</source>
        <translation>删除麻醉药(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Bring To Front</source>
        <translation>置于最前(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Set Cost</source>
        <translation>设置费用(&amp;S)</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>End</source>
        <translation>结束</translation>
    </message>
    <message>
        <source>Click to Add</source>
        <translation>点击添加</translation>
    </message>
</context>
<context>
    <name>QenCost</name>
    <message>
        <source>Cost Parameters</source>
        <translation>费用参数</translation>
    </message>
    <message>
        <source>Bottle size:</source>
        <translation>瓶装容量：</translation>
    </message>
    <message>
        <source>(ml)</source>
        <translation>(ml)</translation>
    </message>
    <message>
        <source>Bottle cost:</source>
        <translation>每瓶价格：</translation>
    </message>
    <message>
        <source>($)</source>
        <translation>($)</translation>
    </message>
</context>
<context>
    <name>QenDefaults</name>
    <message>
        <source>[%1] %2=%3: %4 is used instead.</source>
        <translation>[%1] %2=%3：改用 %4。</translation>
    </message>
    <message>
        <source>&lt;p&gt;Some settings in %1 are not numbers within their range:&lt;/p&gt;&lt;p&gt;%2&lt;/p&gt;</source>
        <translation>&lt;p&gt;%1 中的某些设置不是有效范围内的数字：&lt;/p&gt;&lt;p&gt;%2&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>QenDel</name>
    <message>
        <source>Adjust DEL, FGF, VA and CO</source>
        <translation>调整 DEL、FGF、VA 和 CO</translation>
    </message>
    <message>
        <source>DEL:</source>
        <translation>DEL:</translation>
    </message>
    <message>
        <source>FGF:</source>
        <translation>FGF:</translation>
    </message>
    <message>
        <source>VA:</source>
        <translation>VA:</translation>
    </message>
    <message>
        <source>CO:</source>
        <translation>CO:</translation>
    </message>
</context>
<context>
    <name>QenDelDlg</name>
    <message>
        <source> %atm</source>
        <translation> %atm</translation>
    </message>
    <message>
        <source> L/min</source>
        <translation> L/min</translation>
    </message>
</context>
<context>
    <name>QenDoc</name>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
    <message>
        <source>Untitled%1.qen</source>
        <translation>未命名%1.qen</translation>
    </message>
    <message>
        <source>&lt;p&gt;Can&apos;t read anesthetic parameters from QUENOR.INI</source>
        <translation>&lt;p&gt;无法从 QUENOR.INI 读取麻醉药参数</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Quenor®Files (*.qen )</source>
        <translation>Quenor® 文件 (*.qen )</translation>
    </message>
    <message>
        <source>&lt;p&gt;Cannot write file %1:
%2.</source>
        <translation>&lt;p&gt;无法写入文件 %1：
%2。</translation>
    </message>
    <message>
        <source>Quenor® </source>
        <translation>Quenor® </translation>
    </message>
    <message>
        <source>Send Mail failed to send message.</source>
        <translation>发送邮件失败。</translation>
    </message>
    <message>
        <source>&lt;p&gt;Cannot read file %1:
%2.</source>
        <translation>&lt;p&gt;无法读取文件 %1：
%2。</translation>
    </message>
    <message>
        <source>&lt;p&gt;File %1 is either corrupt or from an unknown version of Quenor®
.</source>
        <translation>&lt;p&gt;文件 %1 已损坏，或来自未知版本的 Quenor®
。</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>主要</translation>
    </message>
    <message>
        <source>Add&apos;l</source>
        <translation>附加</translation>
    </message>
    <message>
        <source>&lt;p&gt;Erase simulation %1 and restore settings to defaults?</source>
        <translation>&lt;p&gt;清除模拟 %1 并将设置恢复为默认值？</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>放弃(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>%1 handed to the mail program</source>
        <translation>%1 已交给邮件程序</translation>
    </message>
    <message>
        <source>&lt;p&gt;Save changes to %1?</source>
        <translation>&lt;p&gt;是否保存对 %1 的更改？</translation>
    </message>
</context>
<context>
    <name>QenDose</name>
    <message>
        <source>Change Unit Dose</source>
        <translation>更改单位剂量</translation>
    </message>
    <message>
        <source>Unit Dose:</source>
        <translation>单位剂量：</translation>
    </message>
</context>
<context>
    <name>QenEngine</name>
    <message>
        <source>Quenor® </source>
        <translation>Quenor® </translation>
    </message>
    <message>
        <source>&lt;p&gt;Changing conditions while replaying a simulation will erase it from this point forward! (This won&apos;t affect any saved versions.)&lt;p&gt;Press &apos;OK&apos; to proceed...</source>
        <translation>&lt;p&gt;回放模拟时更改条件将清除从此刻起的记录！（不影响已保存的版本。）&lt;p&gt;按“确定”继续……</translation>
    </message>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
    <message>
        <source>&lt;p&gt;Erase simulation %1 but keep current settings?</source>
        <translation>&lt;p&gt;清除模拟 %1 但保留当前设置？</translation>
    </message>
    <message>
        <source>Stopped at %1: the values have left the range the model can compute</source>
        <translation>于 %1 停止：数值已超出模型可计算的范围</translation>
    </message>
    <message>
        <source>End of simulation</source>
        <translation>模拟结束</translation>
    </message>
    <message>
        <source>Breakpoint %1 reached at %2</source>
        <translation>于 %2 到达断点 %1</translation>
    </message>
    <message>
        <source>Stopped at bookmark %1</source>
        <translation>于书签 %1 处停止</translation>
    </message>
    <message>
        <source>End of recording at %1</source>
        <translation>记录于 %1 结束</translation>
    </message>
</context>
<context>
    <name>QenExamplesMenu</name>
    <message>
        <source>&amp;Examples</source>
        <translation>示例(&amp;E)</translation>
    </message>
    <message>
        <source>No examples installed</source>
        <translation>未安装示例</translation>
    </message>
</context>
<context>
    <name>QenExport</name>
    <message>
        <source>kilograms</source>
        <translation>千克</translation>
    </message>
    <message>
        <source>CKT</source>
        <translation>CKT</translation>
    </message>
    <message>
        <source>ALV</source>
        <translation>ALV</translation>
    </message>
    <message>
        <source>ART</source>
        <translation>ART</translation>
    </message>
    <message>
        <source>VRG</source>
        <translation>VRG</translation>
    </message>
    <message>
        <source>MUS</source>
        <translation>MUS</translation>
    </message>
    <message>
        <source>FAT</source>
        <translation>FAT</translation>
    </message>
    <message>
        <source>VEN</source>
        <translation>VEN</translation>
    </message>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
    <message>
        <source>&lt;p&gt;Cannot write file %1:
%2.</source>
        <translation>&lt;p&gt;无法写入文件 %1：
%2。</translation>
    </message>
    <message>
        <source>&lt;p&gt;Cannot export %1:
%2.</source>
        <translation>&lt;p&gt;无法导出 %1：
%2。</translation>
    </message>
    <message>
        <source>(UR)</source>
        <translation>(UR)</translation>
    </message>
    <message>
        <source>(UR)*</source>
        <translation>(UR)*</translation>
    </message>
    <message>
        <source>(VUR)</source>
        <translation>(VUR)</translation>
    </message>
    <message>
        <source>(VUR)*</source>
        <translation>(VUR)*</translation>
    </message>
    <message>
        <source>(R)</source>
        <translation>(R)</translation>
    </message>
    <message>
        <source>(R)*</source>
        <translation>(R)*</translation>
    </message>
    <message>
        <source>(VR)</source>
        <translation>(VR)</translation>
    </message>
    <message>
        <source>(VR)*</source>
        <translation>(VR)*</translation>
    </message>
    <message>
        <source>(U)</source>
        <translation>(U)</translation>
    </message>
    <message>
        <source>(U)*</source>
        <translation>(U)*</translation>
    </message>
    <message>
        <source>(VU)</source>
        <translation>(VU)</translation>
    </message>
    <message>
        <source>(VU)*</source>
        <translation>(VU)*</translation>
    </message>
    <message>
        <source>*</source>
        <translation>*</translation>
    </message>
    <message>
        <source>(V)</source>
        <translation>(V)</translation>
    </message>
    <message>
        <source>(V)*</source>
        <translation>(V)*</translation>
    </message>
    <message>
        <source>Semi%1</source>
        <translation>半紧闭%1</translation>
    </message>
    <message>
        <source>Closed%1</source>
        <translation>紧闭%1</translation>
    </message>
    <message>
        <source>Ideal%1</source>
        <translation>理想%1</translation>
    </message>
    <message>
        <source>Open%1</source>
        <translation>开放%1</translation>
    </message>
</context>
<context>
    <name>QenFieldGuard</name>
    <message>
        <source>%1 takes %2 to %3</source>
        <translation>%1 取值范围为 %2 至 %3</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>range and its unit</comment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>This field</source>
        <translation>此字段</translation>
    </message>
</context>
<context>
    <name>QenFootprint</name>
    <message>
        <source>IPCC Sixth Assessment Report (2021), Working Group I, Table 7.SM.7, 100-year</source>
        <translation>IPCC 第六次评估报告（2021 年），第一工作组，表 7.SM.7，100 年</translation>
    </message>
    <message>
        <source>the agent table in the settings</source>
        <translation>设置中的药物表</translation>
    </message>
</context>
<context>
    <name>QenForecastWindow</name>
    <message>
        <source>Wake-up Forecast - %1</source>
        <translation>苏醒预测 - %1</translation>
    </message>
    <message>
        <source>Agent</source>
        <translation>麻醉药</translation>
    </message>
    <message>
        <source>VRG now (%atm)</source>
        <translation>VRG 当前值 (%atm)</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>刷新(&amp;R)</translation>
    </message>
    <message>
        <source>Compute again from the time now displayed</source>
        <translation>从当前显示的时刻重新计算</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>&gt; %1</source>
        <translation>&gt; %1</translation>
    </message>
    <message>
        <source>Computing... %1 of %2</source>
        <translation>正在计算... %1/%2</translation>
    </message>
    <message>
        <source>Computed in %1 s</source>
        <translation>计算用时 %1 秒</translation>
    </message>
    <message>
        <source>Fresh gas flow raised at &amp;wake-up to:</source>
        <translation>苏醒时新鲜气流量提高到(&amp;W)：</translation>
    </message>
    <message>
        <source> L/min</source>
        <translation> L/min</translation>
    </message>
    <message>
        <source>&lt;b&gt;80 % decrement time&lt;/b&gt; (minutes, up) against the time the vaporizers are turned off (h:mm, across): solid with the flow held as it was then, dashed with the flow raised at wake-up</source>
        <translation>&lt;b&gt;80 % 下降时间&lt;/b&gt;（分钟，纵轴）与关闭挥发罐的时间（时:分，横轴）：实线为保持当时的气流量，虚线为苏醒时提高气流量</translation>
    </message>
    <message>
        <source>Computed by this simulation&apos;s model with every vaporizer at 0, the fresh gas flow held or raised, and all other settings held; not a prediction for a patient. After a low-flow anaesthetic the gas breathed back keeps the brain&apos;s partial pressure up: raising the flow washes it out. &quot;&gt;&quot; means not reached before the simulation&apos;s time limit; such points are left out of the graph.</source>
        <translation>由本模拟的模型计算：所有挥发罐为 0，新鲜气流量保持或提高，其他设置保持不变；并非对患者的预测。低流量麻醉后，重复吸入的气体使脑内分压居高不下：提高气流量可将其洗出。“&gt;”表示在模拟时间上限之前未达到；这样的点不画入图中。</translation>
    </message>
    <message>
        <source>%1 % (min)
at %2 L/min</source>
        <translation>%1 %（分钟）
%2 L/min</translation>
    </message>
    <message>
        <source>The graph shows the first %1 agents.</source>
        <translation>图中只显示前 %1 种药物。</translation>
    </message>
    <message>
        <source>with the fresh gas flow held at %1 L/min, and with it raised to %2 L/min at wake-up</source>
        <translation>新鲜气流量保持 %1 L/min，以及苏醒时提高到 %2 L/min</translation>
    </message>
    <message>
        <source>with the fresh gas flow held at %1 L/min, already at or above the %2 L/min set for wake-up, in both</source>
        <translation>新鲜气流量保持 %1 L/min（已不低于为苏醒设定的 %2 L/min），两者相同</translation>
    </message>
    <message>
        <source>&lt;b&gt;Vaporizers off at %1&lt;/b&gt; of %2: minutes until the vessel-rich group (brain) has fallen by 50, 80 and 90 %, %3.</source>
        <translation>&lt;b&gt;%2 在 %1 关闭挥发罐&lt;/b&gt;：血管丰富组织（脑）下降 50%、80% 和 90% 所需的分钟数，%3。</translation>
    </message>
</context>
<context>
    <name>QenGraphView</name>
    <message>
        <source>Graphs</source>
        <translation>曲线图</translation>
    </message>
    <message>
        <source>FGF
L/M</source>
        <translation>FGF
L/M</translation>
    </message>
    <message>
        <source>DEL
%atm</source>
        <translation>DEL
%atm</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Show %atm</source>
        <translation>显示 %atm</translation>
    </message>
    <message>
        <source>CKT(I)</source>
        <translation>CKT(I)</translation>
    </message>
    <message>
        <source>ALV(A)</source>
        <translation>ALV(A)</translation>
    </message>
    <message>
        <source>VRG(R)</source>
        <translation>VRG(R)</translation>
    </message>
    <message>
        <source>MUS(M)</source>
        <translation>MUS(M)</translation>
    </message>
    <message>
        <source>FAT(F)</source>
        <translation>FAT(F)</translation>
    </message>
    <message>
        <source>[HM]</source>
        <translation>[HM]</translation>
    </message>
    <message>
        <source>%1 Min</source>
        <translation>%1 Min</translation>
    </message>
    <message>
        <source>%1 Hr</source>
        <translation>%1 Hr</translation>
    </message>
    <message>
        <source>Press &quot;H&quot; to hide/show this button 
Hotkey to Collapse/Expand is &quot;C&quot;</source>
        <translation>按“H”隐藏/显示此按钮
折叠/展开的快捷键为“C”</translation>
    </message>
    <message>
        <source>VA
L/M</source>
        <translation>VA
L/M</translation>
    </message>
    <message>
        <source>CO
L/M</source>
        <translation>CO
L/M</translation>
    </message>
    <message>
        <source>h:min</source>
        <translation>时:分</translation>
    </message>
</context>
<context>
    <name>QenMailClient</name>
    <message>
        <source>Sending needs the desktop&apos;s mail command (xdg-email, from xdg-utils), which was not found.</source>
        <translation>发送需要桌面的邮件命令（xdg-email，来自 xdg-utils），但未找到该命令。</translation>
    </message>
</context>
<context>
    <name>QenMainWindow</name>
    <message>
        <source>(Add) </source>
        <translation>（添加）</translation>
    </message>
    <message>
        <source>Quenor® </source>
        <translation>Quenor® </translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>New &amp;Graph</source>
        <translation>新建曲线(&amp;G)</translation>
    </message>
    <message>
        <source>New &amp;Picture</source>
        <translation>新建图示(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>最近打开</translation>
    </message>
    <message>
        <source>Export to...</source>
        <translation>导出为...</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Anesthesia</source>
        <translation>麻醉(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Special</source>
        <translation>特殊(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>窗口(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>工具栏</translation>
    </message>
    <message>
        <source>Choose a file to open</source>
        <translation>选择要打开的文件</translation>
    </message>
    <message>
        <source>Quenor®Files (*.qen )</source>
        <translation>Quenor® 文件 (*.qen )</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
    <message>
        <source>Quenor®Anesthesia Simulator</source>
        <translation>Quenor® 麻醉模拟器</translation>
    </message>
    <message>
        <source>Edit simulation description</source>
        <translation>编辑模拟说明</translation>
    </message>
    <message>
        <source>Feature not implemented</source>
        <translation>功能尚未实现</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新建(&amp;N)</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>打开(&amp;O)...</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>Ctrl+W</source>
        <translation>Ctrl+W</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>另存为(&amp;A)...</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Run All</source>
        <translation>全部运行</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>打印(&amp;P)...</translation>
    </message>
    <message>
        <source>Sen&amp;d...</source>
        <translation>发送(&amp;D)...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation>打印预览(&amp;V)...</translation>
    </message>
    <message>
        <source>XML...</source>
        <translation>XML...</translation>
    </message>
    <message>
        <source>HTML...</source>
        <translation>HTML...</translation>
    </message>
    <message>
        <source>&amp;PDF...</source>
        <translation>&amp;PDF...</translation>
    </message>
    <message>
        <source>Page Setup...</source>
        <translation>页面设置...</translation>
    </message>
    <message>
        <source>Print Se&amp;lect...</source>
        <translation>打印所选(&amp;L)...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>Re&amp;wind</source>
        <translation>倒回(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Fast Fwd</source>
        <translation>快进(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Zero Timer</source>
        <translation>计时器归零(&amp;Z)</translation>
    </message>
    <message>
        <source>Ctrl+Z</source>
        <translation>Ctrl+Z</translation>
    </message>
    <message>
        <source>Clear &amp;All</source>
        <translation>全部清除(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>全选(&amp;S)</translation>
    </message>
    <message>
        <source>Ctrl+A</source>
        <translation>Ctrl+A</translation>
    </message>
    <message>
        <source>Copy Selec&amp;tion</source>
        <translation>复制所选(&amp;T)</translation>
    </message>
    <message>
        <source>Ctrl+X</source>
        <translation>Ctrl+X</translation>
    </message>
    <message>
        <source>&amp;Copy Data</source>
        <translation>复制数据(&amp;C)</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>&amp;Liquid Inject</source>
        <translation>注入液体(&amp;L)</translation>
    </message>
    <message>
        <source>Ctrl+L</source>
        <translation>Ctrl+L</translation>
    </message>
    <message>
        <source>Unit &amp;Dose...</source>
        <translation>单位剂量(&amp;D)...</translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation>Ctrl+D</translation>
    </message>
    <message>
        <source>Set &amp;Cost...</source>
        <translation>设置费用(&amp;C)...</translation>
    </message>
    <message>
        <source>&amp;FGF, DEL, VA, CO...</source>
        <translation>&amp;FGF、DEL、VA、CO...</translation>
    </message>
    <message>
        <source>&amp;Agent and Circuit...</source>
        <translation>麻醉药和回路(&amp;A)...</translation>
    </message>
    <message>
        <source>Default &amp;Colors</source>
        <translation>默认颜色(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>工具栏(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Tile Windows</source>
        <translation>平铺窗口(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Group Windows</source>
        <translation>组合窗口(&amp;G)</translation>
    </message>
    <message>
        <source>&amp;Cascade Windows</source>
        <translation>层叠窗口(&amp;C)</translation>
    </message>
    <message>
        <source>New &amp;Graph View</source>
        <translation>新建曲线视图(&amp;G)</translation>
    </message>
    <message>
        <source>Ctrl+Shift+G</source>
        <translation>Ctrl+Shift+G</translation>
    </message>
    <message>
        <source>New &amp;Picture View</source>
        <translation>新建图示视图(&amp;P)</translation>
    </message>
    <message>
        <source>Ctrl+Shift+P</source>
        <translation>Ctrl+Shift+P</translation>
    </message>
    <message>
        <source>&amp;Overlay</source>
        <translation>叠加比较(&amp;O)</translation>
    </message>
    <message>
        <source>Zoom &amp;in</source>
        <translation>放大(&amp;I)</translation>
    </message>
    <message>
        <source>Zoom o&amp;ut</source>
        <translation>缩小(&amp;U)</translation>
    </message>
    <message>
        <source>Disable &amp;Uptake</source>
        <translation>禁用摄取(&amp;U)</translation>
    </message>
    <message>
        <source>Ctrl+U</source>
        <translation>Ctrl+U</translation>
    </message>
    <message>
        <source>Disable &amp;Return</source>
        <translation>禁用回流(&amp;R)</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>Enable &amp;Vapor</source>
        <translation>启用蒸气(&amp;V)</translation>
    </message>
    <message>
        <source>Ctrl+V</source>
        <translation>Ctrl+V</translation>
    </message>
    <message>
        <source>Change &amp;Patient...</source>
        <translation>更改患者(&amp;P)...</translation>
    </message>
    <message>
        <source>Set &amp;Bookmark...</source>
        <translation>设置书签(&amp;B)...</translation>
    </message>
    <message>
        <source>Set Brea&amp;kPoint</source>
        <translation>设置断点(&amp;K)</translation>
    </message>
    <message>
        <source>Enable &amp;Scrolling</source>
        <translation>启用滚动(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Hide Numerics</source>
        <translation>隐藏数值(&amp;H)</translation>
    </message>
    <message>
        <source>Show &amp;Cost</source>
        <translation>显示费用(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Help Topic</source>
        <translation>帮助主题(&amp;H)</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>&amp;About Quenor®...</source>
        <translation>关于 Quenor®(&amp;A)...</translation>
    </message>
    <message>
        <source>Simulation Description</source>
        <translation>模拟说明</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>选项(&amp;O)...</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Stop All</source>
        <translation>全部停止</translation>
    </message>
    <message>
        <source>&amp;Wake-up Forecast...</source>
        <translation>苏醒预测(&amp;W)...</translation>
    </message>
    <message>
        <source>Ctrl++</source>
        <translation>Ctrl++</translation>
    </message>
    <message>
        <source>Ctrl+-</source>
        <translation>Ctrl+-</translation>
    </message>
</context>
<context>
    <name>QenOptionsDialog</name>
    <message>
        <source>Default options</source>
        <translation>默认选项</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>程序</translation>
    </message>
    <message>
        <source>View</source>
        <translation>视图</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>模拟</translation>
    </message>
    <message>
        <source>Agent</source>
        <translation>麻醉药</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>患者</translation>
    </message>
    <message>
        <source>Quenor® </source>
        <translation>Quenor® </translation>
    </message>
    <message>
        <source>&lt;p&gt;The settings could not be saved to %1: the file or its folder cannot be written.&lt;p&gt;Your choices apply until the program closes.</source>
        <translation>&lt;p&gt;无法将设置保存到 %1：该文件或其所在文件夹不可写入。&lt;p&gt;您的选择在程序关闭前一直有效。</translation>
    </message>
</context>
<context>
    <name>QenOverlay</name>
    <message>
        <source>Overlay Comparison</source>
        <translation>叠加比较</translation>
    </message>
    <message>
        <source>Time (HH:mm)</source>
        <translation>时间 (HH:mm)</translation>
    </message>
    <message>
        <source>Legend:</source>
        <translation>图例：</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>显示</translation>
    </message>
    <message>
        <source>Over</source>
        <translation>除以</translation>
    </message>
    <message>
        <source>DEL</source>
        <translation>DEL</translation>
    </message>
    <message>
        <source>CKT</source>
        <translation>CKT</translation>
    </message>
    <message>
        <source>ALV</source>
        <translation>ALV</translation>
    </message>
    <message>
        <source>VRG</source>
        <translation>VRG</translation>
    </message>
    <message>
        <source>MUS</source>
        <translation>MUS</translation>
    </message>
    <message>
        <source>FAT</source>
        <translation>FAT</translation>
    </message>
    <message>
        <source>VEN</source>
        <translation>VEN</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>One</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>费用</translation>
    </message>
    <message>
        <source>Copy Image</source>
        <translation>复制图像</translation>
    </message>
    <message>
        <source>Save Image...</source>
        <translation>保存图像...</translation>
    </message>
    <message>
        <source>Show %1</source>
        <translation>显示 %1</translation>
    </message>
    <message>
        <source>Show the values as they are</source>
        <translation>按原值显示</translation>
    </message>
    <message>
        <source>Divide by %1</source>
        <translation>除以 %1</translation>
    </message>
    <message>
        <source>Copy the graph with its legend to the clipboard</source>
        <translation>将曲线图连同图例复制到剪贴板</translation>
    </message>
    <message>
        <source>Save the graph with its legend as a PNG picture</source>
        <translation>将曲线图连同图例保存为 PNG 图片</translation>
    </message>
    <message>
        <source>No simulation has reached the start of this time window.</source>
        <translation>还没有模拟到达此时间窗口的起点。</translation>
    </message>
    <message>
        <source>%1 (%atm)</source>
        <translation>%1 (%atm)</translation>
    </message>
    <message>
        <source>Help for this window is not available</source>
        <translation>此窗口没有帮助</translation>
    </message>
    <message>
        <source>Overlay</source>
        <translation>叠加比较</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>保存图像</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>The picture could not be encoded.</source>
        <translation>无法编码该图片。</translation>
    </message>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
    <message>
        <source>The picture could not be saved to %1:
%2</source>
        <translation>无法将图片保存到 %1：
%2</translation>
    </message>
    <message>
        <source>Time span:</source>
        <translation>时间跨度：</translation>
    </message>
    <message>
        <source>Whole run</source>
        <translation>整个运行</translation>
    </message>
    <message>
        <source>The time shown: the whole run, or the last minutes of it</source>
        <translation>显示的时间：整个运行，或其最后几分钟</translation>
    </message>
    <message>
        <source>Cost ($)</source>
        <translation>费用 ($)</translation>
    </message>
    <message>
        <source>Some values lie above the top of the graph and are not drawn.</source>
        <translation>部分数值超出图表顶部，未绘出。</translation>
    </message>
</context>
<context>
    <name>QenPDefaults</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Audible Minute Signal</source>
        <translation>整分钟提示音</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Beep</source>
        <translation>蜂鸣</translation>
    </message>
    <message>
        <source>System 1</source>
        <translation>系统声音 1</translation>
    </message>
    <message>
        <source>System 2</source>
        <translation>系统声音 2</translation>
    </message>
    <message>
        <source>System 3</source>
        <translation>系统声音 3</translation>
    </message>
    <message>
        <source>System 4</source>
        <translation>系统声音 4</translation>
    </message>
    <message>
        <source>Custom...</source>
        <translation>自定义...</translation>
    </message>
    <message>
        <source>Graph Line Labels</source>
        <translation>曲线标签</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Graph Line Thickness</source>
        <translation>曲线粗细</translation>
    </message>
    <message>
        <source>One</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Two</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Three</source>
        <translation>3</translation>
    </message>
    <message>
        <source>Graph Jump Percent</source>
        <translation>曲线跳转百分比</translation>
    </message>
    <message>
        <source>Use Graph Paper</source>
        <translation>使用坐标纸</translation>
    </message>
</context>
<context>
    <name>QenPacer</name>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
    <message>
        <source>&lt;p&gt;Two of the same agents are being administered. You must remove one before starting the simulation.</source>
        <translation>&lt;p&gt;正在使用两种相同的麻醉药。开始模拟前必须移除其中一种。</translation>
    </message>
</context>
<context>
    <name>QenPanelView</name>
    <message>
        <source>Picture</source>
        <translation>图示</translation>
    </message>
    <message>
        <source>DEL %atm</source>
        <translation>DEL %atm</translation>
    </message>
    <message>
        <source>Top of the scale</source>
        <translation>刻度上限</translation>
    </message>
    <message>
        <source>FGF  L/m</source>
        <translation>FGF  L/m</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;center&gt;Differs from setting due to Vaporization Effect, caused by the addition of 							 vapor to the flow. Only occurs if Vapor is enabled in Special menu. Click display 							 to see or change original setting.&lt;/center&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;center&gt;由于蒸发效应（蒸气加入气流）而与设定值不同。仅在“特殊”菜单中启用蒸气时出现。点击显示框可查看或更改原设定值。&lt;/center&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>VA  L/m</source>
        <translation>VA  L/m</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;center&gt;Differs from setting due to Uptake Effect, caused by the uptake of 							anesthetic from the lungs, which also causes the Concentration Effect and Second 							Gas Effect. Can be disabled in Special menu. Click display to see or change original 							setting.&lt;/center&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;center&gt;由于摄取效应（麻醉药从肺中被摄取，这也造成浓度效应和第二气体效应）而与设定值不同。可在“特殊”菜单中禁用。点击显示框可查看或更改原设定值。&lt;/center&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>CO  L/m</source>
        <translation>CO  L/m</translation>
    </message>
    <message>
        <source>Inject liquid agent</source>
        <translation>注入液态麻醉药</translation>
    </message>
    <message>
        <source>Flush the circuit with oxygen</source>
        <translation>用氧气冲洗回路</translation>
    </message>
    <message>
        <source>O2</source>
        <translation>O2</translation>
    </message>
    <message>
        <source>Flush</source>
        <translation>冲洗</translation>
    </message>
    <message>
        <source>Time (hh:mm:ss)</source>
        <translation>时间 (hh:mm:ss)</translation>
    </message>
    <message>
        <source>00:00:00</source>
        <translation>00:00:00</translation>
    </message>
    <message>
        <source>Delivered (L)</source>
        <translation>输送量 (L)</translation>
    </message>
    <message>
        <source>0.00</source>
        <translation>0.00</translation>
    </message>
    <message>
        <source>Uptake (L)</source>
        <translation>摄取量 (L)</translation>
    </message>
    <message>
        <source>AFAP</source>
        <translation>最快</translation>
    </message>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
    <message>
        <source>The input is not valid, please check and input it again.</source>
        <translation>输入无效，请检查后重新输入。</translation>
    </message>
    <message>
        <source>CO2e (kg)</source>
        <translation>CO2e (kg)</translation>
    </message>
    <message>
        <source>Greenhouse footprint of the vapour delivered, as kg of CO2 with the same warming over 100 years</source>
        <translation>所输送蒸气的温室效应足迹，以 100 年内增温效应相同的 CO2 千克数表示</translation>
    </message>
    <message>
        <source>Delivered (cost)</source>
        <translation>输送量 (费用)</translation>
    </message>
    <message>
        <source>Uptake (cost)</source>
        <translation>摄取量 (费用)</translation>
    </message>
    <message>
        <source>DEL</source>
        <translation>DEL</translation>
    </message>
    <message>
        <source>FGF</source>
        <translation>FGF</translation>
    </message>
    <message>
        <source>VA</source>
        <translation>VA</translation>
    </message>
    <message>
        <source>CO</source>
        <translation>CO</translation>
    </message>
    <message>
        <source>%atm</source>
        <translation>%atm</translation>
    </message>
    <message>
        <source>L/min</source>
        <translation>L/min</translation>
    </message>
    <message>
        <source>The top of the %1 scale</source>
        <translation>%1 刻度上限</translation>
    </message>
</context>
<context>
    <name>QenPatient</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Weight</source>
        <translation>体重</translation>
    </message>
    <message>
        <source>Kilograms</source>
        <translation>千克</translation>
    </message>
    <message>
        <source>Pounds</source>
        <translation>磅</translation>
    </message>
    <message>
        <source>Metabolism</source>
        <translation>代谢</translation>
    </message>
    <message>
        <source>CO</source>
        <translation>CO</translation>
    </message>
    <message>
        <source>VA</source>
        <translation>VA</translation>
    </message>
    <message>
        <source>Flow Percentages</source>
        <translation>血流百分比</translation>
    </message>
    <message>
        <source>VRG</source>
        <translation>VRG</translation>
    </message>
    <message>
        <source>MUS</source>
        <translation>MUS</translation>
    </message>
    <message>
        <source>FAT</source>
        <translation>FAT</translation>
    </message>
    <message>
        <source>Volumes</source>
        <translation>容积</translation>
    </message>
    <message>
        <source>ALV</source>
        <translation>ALV</translation>
    </message>
    <message>
        <source>VEN</source>
        <translation>VEN</translation>
    </message>
</context>
<context>
    <name>QenPatientDlg</name>
    <message>
        <source>Change patient</source>
        <translation>更改患者</translation>
    </message>
</context>
<context>
    <name>QenPatientWidget</name>
    <message>
        <source>Quenor® </source>
        <translation>Quenor® </translation>
    </message>
    <message>
        <source>&lt;p&gt;The sum of the flow percentages must be 100.</source>
        <translation>&lt;p&gt;血流百分比之和必须为 100。</translation>
    </message>
</context>
<context>
    <name>QenPrintPreview</name>
    <message>
        <source>Print Preview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>打印(&amp;P)...</translation>
    </message>
    <message>
        <source>Page Setup...</source>
        <translation>页面设置...</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
</context>
<context>
    <name>QenPrintSelect</name>
    <message>
        <source>Select Printer Output</source>
        <translation>选择打印内容</translation>
    </message>
    <message>
        <source>Printout</source>
        <translation>设置记录</translation>
    </message>
    <message>
        <source>The table of every change of settings</source>
        <translation>每次更改设置的记录表</translation>
    </message>
    <message>
        <source>Graphs</source>
        <translation>曲线图</translation>
    </message>
    <message>
        <source>The graphs of the primary agent, on a page of their own</source>
        <translation>主要麻醉药的曲线图，单独打印在一页上</translation>
    </message>
</context>
<context>
    <name>QenReport</name>
    <message>
        <source>Quenor®</source>
        <translation>Quenor®</translation>
    </message>
    <message>
        <source>&lt;p&gt;Cannot write file %1:
%2.</source>
        <translation>&lt;p&gt;无法写入文件 %1：
%2。</translation>
    </message>
</context>
<context>
    <name>QenReports</name>
    <message>
        <source>Export to XML</source>
        <translation>导出为 XML</translation>
    </message>
    <message>
        <source>XML Files (*.xml)</source>
        <translation>XML 文件 (*.xml)</translation>
    </message>
    <message>
        <source>Export to HTML</source>
        <translation>导出为 HTML</translation>
    </message>
    <message>
        <source>Web Page (*.html)</source>
        <translation>网页 (*.html)</translation>
    </message>
    <message>
        <source>Export to PDF</source>
        <translation>导出为 PDF</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>PDF 文件 (*.pdf)</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>已导出到 %1</translation>
    </message>
</context>
<context>
    <name>QenSDefaults</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>FGF (Semi-Closed):</source>
        <translation>FGF（半紧闭）：</translation>
    </message>
    <message>
        <source> L/min</source>
        <translation> L/min</translation>
    </message>
    <message>
        <source>Circuit Volume:</source>
        <translation>回路容积：</translation>
    </message>
    <message>
        <source> L</source>
        <translation> L</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>速度：</translation>
    </message>
    <message>
        <source>Agent:</source>
        <translation>麻醉药：</translation>
    </message>
    <message>
        <source>Circuit:</source>
        <translation>回路：</translation>
    </message>
</context>
<context>
    <name>QenStatusMessages</name>
    <message>
        <source>Opened at %1 of a recording that runs to %2: %3 goes to the end</source>
        <translation>已在 %1 打开，记录长至 %2：%3 可跳到末尾</translation>
    </message>
    <message>
        <source>Fast Fwd</source>
        <translation>快进</translation>
    </message>
    <message>
        <source>Edit menu</source>
        <translation>编辑菜单</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
</context>
<context>
    <name>QenTabBar</name>
    <message>
        <source>Click/drag this tab away to view content separately or to move it to another window.</source>
        <translation>点击并拖出此标签页，可单独查看其内容或将其移到另一个窗口。</translation>
    </message>
</context>
<context>
    <name>QenTabWidget</name>
    <message>
        <source>Close tab</source>
        <translation>关闭标签页</translation>
    </message>
</context>
<context>
    <name>QenVDefaults</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Enable Scrolling</source>
        <translation>启用滚动</translation>
    </message>
    <message>
        <source>View:</source>
        <translation>视图：</translation>
    </message>
    <message>
        <source>Show Cost</source>
        <translation>显示费用</translation>
    </message>
    <message>
        <source>Show Control Tray</source>
        <translation>显示控制栏</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>刻度</translation>
    </message>
    <message>
        <source>FGF</source>
        <translation>FGF</translation>
    </message>
    <message>
        <source> L/min</source>
        <translation> L/min</translation>
    </message>
    <message>
        <source>VA</source>
        <translation>VA</translation>
    </message>
    <message>
        <source>CO</source>
        <translation>CO</translation>
    </message>
</context>
<context>
    <name>QenVocabulary</name>
    <message>
        <source>Open</source>
        <comment>open circuit</comment>
        <translation>开放</translation>
    </message>
    <message>
        <source>Semi-closed</source>
        <translation>半紧闭</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>紧闭</translation>
    </message>
    <message>
        <source>Ideal</source>
        <translation>理想</translation>
    </message>
    <message>
        <source>1x</source>
        <translation>1x</translation>
    </message>
    <message>
        <source>2x</source>
        <translation>2x</translation>
    </message>
    <message>
        <source>5x</source>
        <translation>5x</translation>
    </message>
    <message>
        <source>10x</source>
        <translation>10x</translation>
    </message>
    <message>
        <source>20x</source>
        <translation>20x</translation>
    </message>
    <message>
        <source>60x</source>
        <translation>60x</translation>
    </message>
    <message>
        <source>120x</source>
        <translation>120x</translation>
    </message>
    <message>
        <source>AFAP</source>
        <translation>最快</translation>
    </message>
    <message>
        <source>5 Min</source>
        <translation>5 Min</translation>
    </message>
    <message>
        <source>10 Min</source>
        <translation>10 Min</translation>
    </message>
    <message>
        <source>15 Min</source>
        <translation>15 Min</translation>
    </message>
    <message>
        <source>30 Min</source>
        <translation>30 Min</translation>
    </message>
    <message>
        <source>45 Min</source>
        <translation>45 Min</translation>
    </message>
    <message>
        <source>1 Hr</source>
        <translation>1 Hr</translation>
    </message>
    <message>
        <source>2 Hr</source>
        <translation>2 Hr</translation>
    </message>
    <message>
        <source>5 Hr</source>
        <translation>5 Hr</translation>
    </message>
    <message>
        <source>10 Hr</source>
        <translation>10 Hr</translation>
    </message>
    <message>
        <source>red</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>darkRed</source>
        <translation>深红</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>darkBlue</source>
        <translation>深蓝</translation>
    </message>
    <message>
        <source>green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>darkGreen</source>
        <translation>深绿</translation>
    </message>
    <message>
        <source>orange</source>
        <translation>橙色</translation>
    </message>
    <message>
        <source>purple</source>
        <translation>紫色</translation>
    </message>
    <message>
        <source>black</source>
        <translation>黑色</translation>
    </message>
    <message>
        <source>white</source>
        <translation>白色</translation>
    </message>
    <message>
        <source>yellow</source>
        <translation>黄色</translation>
    </message>
    <message>
        <source>cyan</source>
        <translation>青色</translation>
    </message>
</context>
<context>
    <name>qenBkPoint</name>
    <message>
        <source>Set Breakpoint</source>
        <translation>设置断点</translation>
    </message>
    <message>
        <source>Legal: CKT,ALV,VRG,MUS,FAT,FGF,DEL,+,-,*,/,=</source>
        <translation>可用：CKT,ALV,VRG,MUS,FAT,FGF,DEL,+,-,*,/,=</translation>
    </message>
    <message>
        <source>The condition is illegal, please check it again.</source>
        <translation>条件不合法，请再检查一遍。</translation>
    </message>
    <message>
        <source>&amp;Set</source>
        <translation>设置(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
</context>
</TS>
