#pragma once

#include <string_view>

/// Every text a user can see from the core. The Portuguese texts are the system's own and are
/// kept exactly, blanks included.
namespace tarvex::msg {

// Files in general
inline constexpr std::string_view CannotOpenFile = " Não é possível abrir o arquivo !";
inline constexpr std::string_view CannotWriteFile = " Não é possível gravar o arquivo !";
inline constexpr std::string_view FileTooLarge = " Arquivo grande demais para ser lido !";

// Drawing files
inline constexpr std::string_view DesVersionError = " Não é possível ler arquivo: erro de versão !";
inline constexpr std::string_view DesTruncated =
    " Não é possível ler arquivo: o arquivo termina antes do esperado !";
inline constexpr std::string_view DesBadCount =
    " Não é possível ler arquivo: quantidade de registros inválida !";
inline constexpr std::string_view DesBadScale =
    " Não é possível ler arquivo: fator de escala inválido !";
inline constexpr std::string_view DesBadCoordinate =
    " Não é possível ler arquivo: coordenada inválida !";
inline constexpr std::string_view PreBadNumber =
    " Não é possível ler arquivo: número inválido !";
inline constexpr std::string_view PreBadIndex =
    " Não é possível ler arquivo: elemento com ponto ou centro inexistente !";
inline constexpr std::string_view UnknownFileType =
    " Este tipo de arquivo ainda não pode ser aberto !";

// Export of a drawing to problem data
inline constexpr std::string_view ErroContorno = " Erro na formação do Contorno";
inline constexpr std::string_view ErroRegioes = " Erro na formação das Regioes";
inline constexpr std::string_view SemContornos =
    " Não há contornos fechados no desenho: nada foi exportado !";
inline constexpr std::string_view DesenhoComplexoDemais =
    " Desenho com cruzamentos demais para exportar !";

// Graph and materials files
inline constexpr std::string_view GrpVersionError = DesVersionError;
inline constexpr std::string_view GrpTruncated = DesTruncated;
inline constexpr std::string_view GrpBadCount = DesBadCount;
inline constexpr std::string_view GrpUnequalCurve =
    " Não é possível ler arquivo: curva com quantidades diferentes de abscissas e ordenadas !";
inline constexpr std::string_view GrpBadValue = " Não é possível ler arquivo: valor inválido !";
inline constexpr std::string_view SoUmaCurva = " Só há uma curva. Operação cancelada !";
inline constexpr std::string_view MatBadCount =
    " Arquivo de materiais: número de pontos inválido !";
inline constexpr std::string_view MatBadNumber = " Arquivo de materiais: número inválido !";
inline constexpr std::string_view MatTooFewPoints =
    " Arquivo de materiais com menos pontos do que o informado !";
inline constexpr std::string_view InformeArquivoMaterial =
    "Informe o nome do arquivo de materiais !";
/// The question is this text, the file name and CriaArquivoFim.
inline constexpr std::string_view CriaArquivoInicio = "Arquivo não existe ! Cria arquivo ";
inline constexpr std::string_view CriaArquivoFim = " ?";
inline constexpr std::string_view CriaArquivoNovo = " Arquivo não existe ! Cria arquivo novo ??";

// Problem editing
inline constexpr std::string_view PontoForaDominio = " Ponto fora do domínio ";
inline constexpr std::string_view NaoHaMalha = "Não há malha para desenhar !";
inline constexpr std::string_view ItemNaoDisponivel = "Item não disponível";
inline constexpr std::string_view PermRelativaFora =
    " Perm. Relativa deve estar entre 1e-15 e 1e15 !";
inline constexpr std::string_view ToleranciaArcosFora =
    " Tolerância nos arcos deve estar entre 1e-12 e 1e12 !";
inline constexpr std::string_view AnguloArcoFora =
    " Ângulo mínimo dos arcos deve estar entre 0.5 e 60 !";
inline constexpr std::string_view ValorInvalido = " Digite um número válido !";
inline constexpr std::string_view FatorEscalaInvalido = " Fator Escala deve ser maior que zero !";
inline constexpr std::string_view SemSegmentos = " O problema não tem segmentos de contorno !";
inline constexpr std::string_view SemPotencialSegmento =
    " Não há potencial imposto neste segmento !";
inline constexpr std::string_view SemPotencialPonto = " Não há potencial imposto neste ponto !";
inline constexpr std::string_view AreaVazia = " A área definida não tem extensão !";

// Mesh generation
inline constexpr std::string_view MalhaNaoGeradaStatus = "Status: malha não gerada";
inline constexpr std::string_view MalhaPreparando = "Status: preparando para gerar malha...";
inline constexpr std::string_view MalhaNosFronteira = "Status: inserindo nós de fronteira.";
inline constexpr std::string_view MalhaNosInternos = "Status: inserindo nós internos.";
inline constexpr std::string_view MalhaRegiaoEspecial = "Status: inserindo nós da região especial.";
inline constexpr std::string_view MalhaCondicaoAngulo = "Status: verificando condição de ângulo.";
inline constexpr std::string_view MalhaReconstituindo = "Status: reconstituindo as fronteiras.";
inline constexpr std::string_view MalhaCantos = "Status: corrigindo triângulos dos cantos.";
inline constexpr std::string_view MalhaRecentrando = "Status: recentrando elementos.";
inline constexpr std::string_view MalhaConcluida = "Status: concluída a geração da malha.";
inline constexpr std::string_view MalhaIncoerenteFronteira =
    " Erro : Número de Elementos Gerados Incoerente (fronteira)";
inline constexpr std::string_view MalhaIncoerentePontosInternos =
    " Erro : Número de Elementos Gerados Incoerente (pontos internos)";
inline constexpr std::string_view MalhaNaoGerada = "Malha ainda não gerada !";
inline constexpr std::string_view RecentragemSemMalha =
    "Operação ainda não implementada ! Gere uma malha primeiro !";
inline constexpr std::string_view AreaRefinoIncorreta =
    "Área a refinar definida de forma incorreta ou indefinida !";
inline constexpr std::string_view AreaSemTriangulos = "Área definida não contém nenhum triângulo !";
/// The recentring report is this text followed by FormatoRecentragem (quality before, after).
inline constexpr std::string_view RecentragemEfetuada = " Recentragem efetuada : ";
inline constexpr const char* FormatoRecentragem =
    "\n fator qual. s/ rencentragem: %5.3lf/ fator qual. após recentragem %5.3lf";
inline constexpr std::string_view InformacoesMalhaTitulo = "Informações sobre a Malha Atual";
inline constexpr std::string_view InfoNumElementos = "Número de Elementos :";
inline constexpr std::string_view InfoNumNos = "Número de Nós :";
inline constexpr std::string_view InfoQualidadeMedia = "Fator de qualidade médio :";
inline constexpr std::string_view InfoQualidadeMinima = "Fator de qualidade mínimo :";
inline constexpr std::string_view InfoAnguloMedio = "Condição de ângulo média :";
inline constexpr std::string_view InfoAnguloMinimo = "Condição de ângulo mínima :";
inline constexpr std::string_view InfoAreaMedia = "Área média triângulos :";
inline constexpr std::string_view InfoAreaMinima = "Área menor triângulo :";
// Refusals of a run that could not give a sound mesh.
inline constexpr std::string_view MalhaInterrompida = " Geração da malha interrompida !";
inline constexpr std::string_view MalhaSemContorno =
    " Erro : Não há contorno para gerar a malha !";
inline constexpr std::string_view MalhaArestaInvalida =
    " Erro : Aresta máxima inválida para gerar a malha !";
inline constexpr std::string_view MalhaGrandeDemais =
    " Erro : Aresta pequena demais: a malha teria elementos demais !";
inline constexpr std::string_view MalhaNaoConverge =
    " Erro : O refinamento pela condição de ângulo não converge !";
inline constexpr std::string_view MalhaFronteirasNaoReconstituidas =
    " Erro : Não foi possível reconstituir as fronteiras !";

// Linear solution
/// Shown by a calculation run when the user stopped the solver; the previous results stay.
inline constexpr std::string_view CalculoInterrompido = "Status: cálculo interrompido !";

// Solver model files and export
inline constexpr std::string_view MshErroVersao = " Não é possível ler arquivo: erro de versão !";
inline constexpr std::string_view MshSemMalha = " Malha ainda não foi gerada ! Operação cancelada !";
inline constexpr std::string_view MshErroSimetria = " Erro na definição da simetria !";
inline constexpr std::string_view MshErroListaEsquerda =
    " Erro de inserçao de índice na lista esquerda";
inline constexpr std::string_view MshErroListaDireita = " Erro de inserçao de índice na lista direita";
inline constexpr std::string_view MontagemAreaZero =
    "Erro na Montagem da Matriz : area de elemento=0 !";
inline constexpr std::string_view MontagemIndiceZero = " Erro na Montagem da Matriz: indice zero";
inline constexpr std::string_view MontagemSemRegiao =
    " Erro na Montagem da Matriz: tr não pertence à nenhuma regiao";
inline constexpr std::string_view MshFiltro = "Arquivos (*.msh)|*.msh||";
/// Refusals of solver model files that do not describe a consistent model.
inline constexpr std::string_view MshMatrizInvalida =
    " Não é possível ler arquivo: matriz do sistema inválida !";
inline constexpr std::string_view MshNoInexistente =
    " Não é possível ler arquivo: referência a nó inexistente !";
inline constexpr std::string_view MshModeloIncoerente =
    " Não é possível ler arquivo: dimensões do modelo incoerentes !";
/// Export of a non-linear region whose materials file cannot be read.
inline constexpr std::string_view MshArquivoMaterial =
    " Não é possível ler o arquivo de materiais de uma região não-linear ! Operação cancelada !";

// Calculation runs
inline constexpr std::string_view StatusNaoIniciado = "Status : cálculo não iniciado";
inline constexpr std::string_view StatusEmProgresso = "Status: cálculo em progresso. Aguarde !";
inline constexpr std::string_view StatusConcluido = "Status: cálculo concluído";
inline constexpr std::string_view StatusMontando = "Status: montando a matriz de coeficientes";
inline constexpr std::string_view StatusMetNewton = "Resolvendo sist. de equações (Met. Newton)";
inline constexpr std::string_view StatusMetLinear = "Resolvendo sist. de equações (Met. Linear)";
inline constexpr std::string_view IteracaoNaoIniciada = "Iteração : não iniciada";
/// printf format: step number and error in percent.
inline constexpr const char* LinhaPasso = "Passo : %d     Erro Máximo :  %10.3g %%";
inline constexpr std::string_view SemNaoLinearidade =
    " Não existe material com não-linearidade ! Realiza Cálculo Linear ? ";
inline constexpr std::string_view SemCondutividade =
    "Não existe material com condutividade.\nOperação Cancelada !";
inline constexpr std::string_view InterrompeCalculo = " Interrompe Cálculo em progresso ?";
inline constexpr std::string_view Atencao = "Atenção";
inline constexpr std::string_view SemResultado = "Não há resultado de cálculo disponível !";
inline constexpr std::string_view RealizaCalculoLinear = "Realiza cálculo linear ?";
inline constexpr std::string_view CalculoLinearRealizado = " Cálculo Linear Realizado !";
/// A model whose system does not match its nodes (a damaged or hand-made model) is not solved.
inline constexpr std::string_view SistemaInconsistente =
    " Sistema de equações não corresponde aos nós do modelo ! Operação cancelada !";

// Results display
inline constexpr std::string_view SemDadosEquipotenciais =
    "Impossível traçar equipotenciais: não há dados de cálculo disponível !";
inline constexpr std::string_view SemDadosCorrentesInduzidas =
    "Impossível traçar equipotenciais: não há dados de cálculo disponível !\n Cálculo de "
    "correntes induzidas deve ser feito antes !";
inline constexpr std::string_view AnaliseSemCondutividade =
    "Analise não inclui materiais com condutividade ! \nOperação Cancelada !";

// Range checks of the results dialogs' fields (printf formats: the two limits)
inline constexpr const char* InteiroEntre = " Digite um número inteiro entre %d e %d !";
inline constexpr const char* NumeroEntre = " Digite um número entre %g e %g !";

// Point values, flux between two points, colour maps
/// printf format of every value of the point-values dialog.
inline constexpr const char* FormatoValorPonto = "%-12.6g";
inline constexpr std::string_view Indefinido = "indefinido";
inline constexpr std::string_view SemDadosValores =
    "Impossível calcular valores ! Não há dados de Cálculo.";
inline constexpr std::string_view SemDadosCurvas =
    "Impossível Calcular Curvas ! Não há dados de Cálculo.";
/// printf format: the flux (per metre) between two points.
inline constexpr const char* FluxoPorMetro = "Fluxo/m : %12.4g";
/// The result field of the keyboard flux dialog before a calculation.
inline constexpr std::string_view FluxoNaoCalculado = "Não Calculado !";
/// The results frame's result pane before any result.
inline constexpr std::string_view ResultadoNaoCalculado = "Fluxo : não calc.";
/// The results frame's position pane before the cursor moved over the view.
inline constexpr std::string_view PosicaoInicialResultados = "Posicão: (0,0)";
/// Status text and tooltip (after the line break) of the colour-scale strip command.
inline constexpr std::string_view EscalaCoresDica =
    "Acessa o menu para traçado de escala da cores.\nDesenha Escala de Cores";
inline constexpr std::string_view RotuloBx = "Bx (T):";
inline constexpr std::string_view RotuloBy = "By (T):";
inline constexpr std::string_view RotuloB = "||B|| (T)";
inline constexpr std::string_view RotuloHx = "Hx (A/m):";
inline constexpr std::string_view RotuloHy = "Hy (A/m):";
inline constexpr std::string_view RotuloH = "||H|| (A/m):";
inline constexpr std::string_view RotuloFx = "Fx (N/m²) :";
inline constexpr std::string_view RotuloFy = "Fy (N/m²) :";
inline constexpr std::string_view RotuloDx = "Dx(C/m²):";
inline constexpr std::string_view RotuloDy = "Dy(C/m²):";
inline constexpr std::string_view RotuloD = "|D| (C/m²):";
inline constexpr std::string_view RotuloEx = "Ex (V/m):";
inline constexpr std::string_view RotuloEy = "Ey (V/m):";
inline constexpr std::string_view RotuloE = "||E|| (V/m):";
inline constexpr std::string_view RotuloBt = "Bt (T):";
inline constexpr std::string_view RotuloBr = "Br (T):";
inline constexpr std::string_view RotuloHt = "Ht (A/m):";
inline constexpr std::string_view RotuloHr = "Hr (A/m):";
inline constexpr std::string_view RotuloFt = "Ft (N/m²) :";
inline constexpr std::string_view RotuloFr = "Fr (N/m²) :";
inline constexpr std::string_view RotuloDt = "Dt(C/m²):";
inline constexpr std::string_view RotuloDr = "Dr(C/m²):";
inline constexpr std::string_view RotuloEt = "Et (V/m):";
inline constexpr std::string_view RotuloEr = "Er (V/m):";
inline constexpr std::string_view RotuloPermRelativa = "perm. relativa :";
inline constexpr std::string_view RotuloJ = "|| J || (A/mm²) :";
inline constexpr std::string_view RotuloPi = " Pi  (W/m³) :";
inline constexpr std::string_view LegendaInducao = "Indução [ Tesla ]";
inline constexpr std::string_view LegendaCampoH = "Campo [ A/m ]";
inline constexpr std::string_view LegendaInducaoEletrica = "Indução Elet. [C/m² ]";
inline constexpr std::string_view LegendaCampoE = "Campo [ V/m ]";
inline constexpr std::string_view LegendaDensCorrente = "Dens. Cor. [ A/mm² ]";
inline constexpr std::string_view LegendaDensPerdas = "Dens. Perdas [ W/m³ ]";
inline constexpr std::string_view MapaSoMagnetico =
    "Opção não disponível para análise de campo elétrico !\n   Operação cancelada !";
inline constexpr std::string_view MapaSoEletrico =
    "Opção não disponível para análise de campo magnético !\n   Operação cancelada !";
inline constexpr std::string_view MapaSemResultado =
    " Não há resultados de cálculo disponível ! \n Operação Cancelada !";
inline constexpr std::string_view MapaSemResultados =
    " Não há resultados de cálculo disponíveis ! \n Operação Cancelada !";
inline constexpr std::string_view MapaSemCorrentesInduzidas =
    " Não há resultados disponíveis: cálculo de correntes induzidas não foi realizado ! \n "
    "Operação Cancelada !";
inline constexpr std::string_view EscalaCoresSemResultado =
    "Não há resultados de cálculo disponível ! Ação cancelada. ";

// DXF import, and the export's crossings of arcs and removed elements
inline constexpr std::string_view DxfCodigoInvalido =
    " Não é possível ler arquivo DXF: código de grupo inválido !";
inline constexpr std::string_view DxfValorInvalido =
    " Não é possível ler arquivo DXF: valor numérico inválido !";
/// Heading of the list of ignored entity kinds, one "  KIND : count" line each after it.
inline constexpr std::string_view DxfEntidadesIgnoradas =
    " Entidades do arquivo DXF ignoradas na importação :";
/// Followed by the crossing's coordinates in FormatoPontoCruzamento.
inline constexpr std::string_view CruzamentoNaoResolvido =
    " Cruzamento que não pode ser resolvido (tangência ou trecho menor que a distância mínima)"
    " no ponto";
inline constexpr std::string_view FormatoPontoCruzamento = " (%g, %g) !";
/// printf format: how many elements the clean-up and the dangling removal left out.
inline constexpr std::string_view FormatoElementosRemovidos =
    " %zu elemento(s) removido(s) na exportação";

} // namespace tarvex::msg
